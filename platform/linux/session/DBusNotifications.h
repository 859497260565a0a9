// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Notifications.h"

#include <QStringList>

#include <memory>

namespace platform::linux_ {

// org.freedesktop.Notifications on the session bus. The call is sent without waiting for the
// reply, so a slow or missing notification daemon never stalls the caller; a process that is about
// to end or exec waits until the bus has taken the message, or it would be lost with the process.
class DBusNotifications : public Notifications {
public:
    enum class Delivery { queued, beforeReturning };
    explicit DBusNotifications(Delivery delivery = Delivery::queued);
    ~DBusNotifications() override;
    bool notify(const QString& summary, const QString& body) override;
    bool notify(const QString& summary, const QString& body, const QString& action,
                std::function<void()> onAction) override;

private:
    class Actions;
    bool send(const QString& summary, const QString& body, const QStringList& actions, Actions* waiting,
              std::function<void()> onAction);
    std::unique_ptr<Actions> actions_;
    Delivery delivery_;
};

} // namespace platform::linux_
