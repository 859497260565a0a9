// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {

// Passing messages the desktop shows outside the app's windows, for what a tray user must see.
class Notifications {
public:
    virtual ~Notifications() = default;
    // Shows `summary` with `body`; false when it could not even be handed to the desktop.
    virtual bool notify(const QString& summary, const QString& body) = 0;
};

} // namespace platform
