// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/session/DBusNotifications.h"
#include "support/PrivateBus.h"
#include "support/ServiceWait.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QProcess>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <functional>

namespace {

// A notification server as a desktop runs one: owns the well-known name, keeps what it is sent.
class NotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Received {
        QString appName, appIcon, summary, body;
        QVariantMap hints;
        int timeout;
        QStringList actions;
    };
    QList<Received> received;

public slots:
    uint Notify(const QString& appName, uint, const QString& appIcon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int timeout) {
        received << Received{appName, appIcon, summary, body, hints, timeout, actions};
        return uint(received.size());
    }
    QStringList GetCapabilities() { return {QStringLiteral("body")}; }
};

// A private session bus with the notification server on it, as a desktop has one.
class DBusNotifications : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bus.running());
        serverBus = QDBusConnection::connectToBus(bus.address(), QStringLiteral("server"));
        ASSERT_TRUE(serverBus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &server,
                                             QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(serverBus.registerService(QStringLiteral("org.freedesktop.Notifications")));
    }
    void TearDown() override { QDBusConnection::disconnectFromBus(QStringLiteral("server")); }

    PrivateBus bus;
    QDBusConnection serverBus{QString()};
    NotificationServer server;
};

} // namespace

TEST_F(DBusNotifications, ANotificationServerOnThePrivateBusReceivesIt) {

    platform::linux_::DBusNotifications notifications;
    ASSERT_TRUE(notifications.notify("Could not make Firefox the default browser",
                                     "The browser is no longer installed."));
    const QDeadlineTimer deadline(10000);
    while (server.received.isEmpty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_EQ(server.received.size(), 1);
    const auto& got = server.received[0];
    EXPECT_EQ(got.appName, "Tolvane");
    EXPECT_EQ(got.appIcon, "app.tolvane.Tolvane");
    EXPECT_EQ(got.summary, "Could not make Firefox the default browser");
    EXPECT_EQ(got.body, "The browser is no longer installed.");
    EXPECT_EQ(got.hints.value("desktop-entry").toString(), "app.tolvane.Tolvane");
    EXPECT_EQ(got.timeout, -1);
}

TEST_F(DBusNotifications, APressedButtonRunsItsActionOnce) {
    const auto waitFor = [](const std::function<bool()>& done) {
        const QDeadlineTimer deadline(10000);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return done();
    };

    platform::linux_::DBusNotifications notifications;
    int pressed = 0;
    notifications.notify("Another program now opens web links", "", "Turn On", [&] { ++pressed; });
    notifications.notify("Something else", "", "Other", [&] { pressed += 100; });
    ASSERT_TRUE(waitFor([&] { return server.received.size() == 2; }));
    const QStringList shown = server.received[0].actions;
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[1], "Turn On");
    const auto signal = [&](const QString& name, const QVariantList& args) {
        QDBusMessage message = QDBusMessage::createSignal("/org/freedesktop/Notifications",
                                                          "org.freedesktop.Notifications", name);
        message.setArguments(args);
        serverBus.send(message);
    };
    // The daemon's id for the first is 1: its button, pressed twice, acts once; the second closes unpressed.
    QCoreApplication::processEvents(QEventLoop::AllEvents, 200);
    signal("ActionInvoked", {1u, shown[0]});
    signal("ActionInvoked", {1u, shown[0]});
    signal("NotificationClosed", {2u, 2u});
    signal("ActionInvoked", {2u, server.received[1].actions.value(0)});
    EXPECT_TRUE(waitFor([&] { return pressed > 0; }));
    QCoreApplication::processEvents(QEventLoop::AllEvents, 300);
    EXPECT_EQ(pressed, 1);
}

#include "NotificationsTest.moc"
