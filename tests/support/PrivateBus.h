// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <optional>

// A private session bus for the life of the object: its own dbus-daemon, whose address replaces
// DBUS_SESSION_BUS_ADDRESS in this process (and so in every child). With a service folder, names
// are activated from the .service files in it.
class PrivateBus {
public:
    explicit PrivateBus(const QString& serviceDir = {});
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool running() const { return !address_.isEmpty(); }
    QString address() const { return address_; }

private:
    QTemporaryDir dir_;
    QProcess daemon_;
    QString address_;
    std::optional<QByteArray> savedAddress_;
};
