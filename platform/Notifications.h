// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

namespace platform {

// Passing messages the desktop shows outside the app's windows, for what a tray user must see.
class Notifications {
public:
    virtual ~Notifications() = default;
    // Shows `summary` with `body`; false when it could not even be handed to the desktop.
    virtual bool notify(const QString& summary, const QString& body) = 0;
    // The same with a button labelled `action`; `onAction` runs on this thread when it is pressed.
    // Where buttons cannot be shown, the message alone.
    virtual bool notify(const QString& summary, const QString& body, const QString& action,
                        std::function<void()> onAction) {
        Q_UNUSED(action);
        Q_UNUSED(onAction);
        return notify(summary, body);
    }
};

} // namespace platform
