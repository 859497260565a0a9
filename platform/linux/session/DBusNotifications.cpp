// SPDX-License-Identifier: GPL-3.0-or-later
#include "DBusNotifications.h"

#include "BuildInfo.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QHash>
#include <QLoggingCategory>
#include <QVariantMap>

namespace platform::linux_ {
namespace {
Q_LOGGING_CATEGORY(notificationsLog, TOLVANE_APP_ID ".notifications")
} // namespace

// The buttons of shown notifications: the daemon says which was pressed, by notification id.
class DBusNotifications::Actions : public QObject {
    Q_OBJECT
public:
    QHash<uint, std::function<void()>> waiting;
    bool connected = false;

public slots:
    void invoked(uint id, const QString& key) {
        if (key != QLatin1String("act"))
            return;
        if (auto run = waiting.take(id))
            run();
    }
    void closed(uint id, uint) { waiting.remove(id); }
};

DBusNotifications::DBusNotifications(Delivery delivery)
    : actions_(std::make_unique<Actions>()), delivery_(delivery) {}
DBusNotifications::~DBusNotifications() = default;

bool DBusNotifications::notify(const QString& summary, const QString& body) {
    return send(summary, body, {}, nullptr, {});
}

bool DBusNotifications::notify(const QString& summary, const QString& body, const QString& action,
                               std::function<void()> onAction) {
    return send(summary, body, {QStringLiteral("act"), action}, actions_.get(), std::move(onAction));
}

bool DBusNotifications::send(const QString& summary, const QString& body, const QStringList& actions,
                             Actions* waiting, std::function<void()> onAction) {
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
         << actions << hints << -1;
    if (!waiting && delivery_ == Delivery::beforeReturning)
        return bus.call(call, QDBus::Block, 2000).type() == QDBusMessage::ReplyMessage;
    if (!waiting)
        return bus.send(call);
    if (!waiting->connected) {
        const QString path = QStringLiteral("/org/freedesktop/Notifications");
        const QString interface = QStringLiteral("org.freedesktop.Notifications");
        bus.connect({}, path, interface, QStringLiteral("ActionInvoked"), waiting,
                    SLOT(invoked(uint, QString)));
        bus.connect({}, path, interface, QStringLiteral("NotificationClosed"), waiting,
                    SLOT(closed(uint, uint)));
        waiting->connected = true;
    }
    // The id comes with the reply; the button is known from then on.
    auto* watch = new QDBusPendingCallWatcher(bus.asyncCall(call), waiting);
    QObject::connect(watch, &QDBusPendingCallWatcher::finished, waiting,
                     [waiting, watch, onAction = std::move(onAction)] {
                         const QDBusPendingReply<uint> reply = *watch;
                         if (!reply.isError())
                             waiting->waiting.insert(reply.value(), onAction);
                         watch->deleteLater();
                     });
    return true;
}

} // namespace platform::linux_

#include "DBusNotifications.moc"
