// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

namespace Tolvane {

// A window that exists at most once: opening it again brings the open one forward.
class WindowScene {
public:
    WindowScene(QString identifier, std::function<QWidget*()> make)
        : identifier_(std::move(identifier)), make_(std::move(make)) {}

    QWidget* open();
    QWidget* window() const { return window_; }
    const QString& identifier() const { return identifier_; }

private:
    QString identifier_;
    std::function<QWidget*()> make_;
    QPointer<QWidget> window_;
};

} // namespace Tolvane
