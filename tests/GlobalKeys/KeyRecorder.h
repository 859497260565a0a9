// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEvent>
#include <QKeyEvent>
#include <QList>
#include <QObject>

// Records the key presses and releases that reach a widget after the application's filters.
class KeyRecorder : public QObject {
public:
    QList<int> pressed;
    QList<int> released;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress)
            pressed << static_cast<QKeyEvent*>(event)->key();
        else if (event->type() == QEvent::KeyRelease)
            released << static_cast<QKeyEvent*>(event)->key();
        return false;
    }
};
