// SPDX-License-Identifier: GPL-3.0-or-later
#include "PortalDesktop.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>

namespace {

const QString backendName = QStringLiteral("org.freedesktop.impl.portal.desktop.tolvanetest");
const QString portalName = QStringLiteral("org.freedesktop.portal.Desktop");

bool ownedOnBus(const QString& name) {
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(name);
}

} // namespace

bool waitFor(const std::function<bool()>& done, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

PortalDesktop::PortalDesktop() {
    QFile portal(dir_.filePath("portals/tolvanetest.portal"));
    QDir().mkpath(dir_.filePath("portals"));
    if (portal.open(QIODevice::WriteOnly))
        portal.write("[portal]\nDBusName=" + backendName.toUtf8() +
                     "\nInterfaces=org.freedesktop.impl.portal.GlobalShortcuts\nUseIn=tolvanetest\n");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The 1.16 frontend picks the back end whose UseIn names the current desktop.
    env.insert("XDG_DESKTOP_PORTAL_DIR", dir_.filePath("portals"));
    env.insert("XDG_CURRENT_DESKTOP", "tolvanetest");
    // Newer frontends read GSettings and abort without schemas; the test's XDG_DATA_DIRS has none.
    env.insert("GSETTINGS_SCHEMA_DIR", "/usr/share/glib-2.0/schemas");
    frontend_.setProcessEnvironment(env);
    frontend_.setProcessChannelMode(QProcess::MergedChannels);
    frontend_.setStandardOutputFile(dir_.filePath("frontend.log"), QIODevice::Append);
    backend_.setProcessChannelMode(QProcess::ForwardedChannels);
}

PortalDesktop::~PortalDesktop() {
    stopFrontend();
    backend_.terminate();
    backend_.waitForFinished(5000);
}

bool PortalDesktop::startBackend() {
    backend_.start(QStringLiteral(TOLVANE_PORTAL_BACKEND), {backendName});
    if (!backend_.waitForStarted(10000) || !waitFor([] { return ownedOnBus(backendName); }))
        return false;
    control_ = std::make_unique<QDBusInterface>(backendName, "/control", "app.tolvane.test.ShortcutsBackend");
    return control_->isValid();
}

bool PortalDesktop::startFrontend() {
    frontend_.start(QStringLiteral("/usr/libexec/xdg-desktop-portal"), {"--verbose", "--replace"});
    if (!frontend_.waitForStarted(10000))
        return false;
    return waitFor([] {
        if (!ownedOnBus(portalName))
            return false;
        QDBusInterface properties(portalName, "/org/freedesktop/portal/desktop",
                                  "org.freedesktop.DBus.Properties");
        return QDBusReply<QDBusVariant>(
                   properties.call("Get", "org.freedesktop.portal.GlobalShortcuts", "version"))
            .isValid();
    });
}

void PortalDesktop::stopFrontend() {
    if (frontend_.state() == QProcess::NotRunning)
        return;
    frontend_.terminate();
    frontend_.waitForFinished(5000);
    waitFor([] { return !ownedOnBus(portalName); });
}

QJsonArray PortalDesktop::binds() {
    const QDBusReply<QString> reply = control_->call("Binds");
    return QJsonDocument::fromJson(reply.value().toUtf8()).array();
}

int PortalDesktop::closedSessions() {
    return QDBusReply<int>(control_->call("ClosedSessions")).value();
}

QString PortalDesktop::frontendLog() const {
    QFile log(dir_.filePath("frontend.log"));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}
