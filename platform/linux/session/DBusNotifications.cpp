// SPDX-License-Identifier: GPL-3.0-or-later
#include "DBusNotifications.h"

#include "BuildInfo.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QLoggingCategory>
#include <QVariantMap>

namespace platform::linux_ {
namespace {
Q_LOGGING_CATEGORY(notificationsLog, TOLVANE_APP_ID ".notifications")
} // namespace

bool DBusNotifications::notify(const QString& summary, const QString& body) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qCWarning(notificationsLog) << "no session bus for the notification:" << summary;
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // The desktop entry lets the desktop show Tolvane's name and icon and group its messages.
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral(TOLVANE_APP_ID)},
                            {QStringLiteral("urgency"), QVariant::fromValue<uchar>(1)}};
    call << QStringLiteral(TOLVANE_DISPLAY_NAME) << 0u << QStringLiteral(TOLVANE_APP_ID) << summary << body
         << QStringList() << hints << -1;
    return bus.send(call);
}

} // namespace platform::linux_
