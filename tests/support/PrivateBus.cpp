// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrivateBus.h"

#include "ServiceWait.h"

#include <QFile>

PrivateBus::PrivateBus(const QString& serviceDir) {
    const QString config = dir_.filePath("session.conf");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return;
    QByteArray text = "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                      " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                      "<busconfig>\n  <type>session</type>\n"
                      "  <listen>unix:dir=" +
                      dir_.path().toUtf8() + "</listen>\n";
    if (!serviceDir.isEmpty())
        text += "  <servicedir>" + serviceDir.toUtf8() + "</servicedir>\n";
    text += "  <policy context=\"default\">\n    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
            "    <allow eavesdrop=\"true\"/>\n    <allow own=\"*\"/>\n  </policy>\n</busconfig>\n";
    file.write(text);
    file.close();

    daemon_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    daemon_.start("dbus-daemon", {"--config-file=" + config, "--nofork", "--print-address=1"});
    if (!daemon_.waitForStarted(serviceStartMs))
        return;
    // Ends at once when the daemon exits.
    while (!daemon_.canReadLine() && daemon_.waitForReadyRead(serviceStartMs)) {
    }
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        savedAddress_ = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("DBUS_SESSION_BUS_ADDRESS", address_.toUtf8());
}

PrivateBus::~PrivateBus() {
    if (savedAddress_)
        qputenv("DBUS_SESSION_BUS_ADDRESS", *savedAddress_);
    else
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    daemon_.terminate();
    if (!daemon_.waitForFinished(5000))
        daemon_.kill();
    daemon_.waitForFinished(5000);
}
