// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Notifications.h"

namespace platform::linux_ {

// org.freedesktop.Notifications on the session bus. The call is sent without waiting for the
// reply, so a slow or missing notification daemon never stalls the caller.
class DBusNotifications : public Notifications {
public:
    bool notify(const QString& summary, const QString& body) override;
};

} // namespace platform::linux_
