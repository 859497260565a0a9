// SPDX-License-Identifier: GPL-3.0-or-later
#include "MenuChanges.h"

#include <QEvent>
#include <QMenu>
#include <QTimer>

namespace Tolvane {

MenuChanges::MenuChanges(QMenu* menu, std::function<void()> changed, QObject* parent)
    : QObject(parent), changed_(std::move(changed)) {
    menu->installEventFilter(this);
}

bool MenuChanges::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionRemoved) && !queued_) {
        queued_ = true;
        QTimer::singleShot(0, this, [this] {
            queued_ = false;
            changed_();
        });
    }
    return QObject::eventFilter(watched, event);
}

} // namespace Tolvane
