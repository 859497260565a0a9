// SPDX-License-Identifier: GPL-3.0-or-later
// The session bus for the command module, loaded only when a link needs it (the picker, a message):
// the D-Bus library would otherwise cost every command its loading time.
#include "platform/linux/session/DBusNotifications.h"

#include <QDBusConnection>
#include <QDBusMessage>

extern "C" Q_DECL_EXPORT bool tolvane_bus_notify(const QString& summary, const QString& body) {
    // The caller may exec a browser next: the message must be with the bus first.
    platform::linux_::DBusNotifications notifications(
        platform::linux_::DBusNotifications::Delivery::beforeReturning);
    return notifications.notify(summary, body);
}

extern "C" Q_DECL_EXPORT bool tolvane_bus_ask(const QStringList& links, const QString& activationToken) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("app.tolvane.Tolvane"), QStringLiteral("/app/tolvane/Tolvane"),
        QStringLiteral("app.tolvane.Tolvane.Links1"), QStringLiteral("Ask"));
    call << links << activationToken;
    // Long enough for the bus to start Tolvane on a busy machine; the reply comes once it holds them.
    return bus.call(call, QDBus::Block, 25000).type() == QDBusMessage::ReplyMessage;
}
