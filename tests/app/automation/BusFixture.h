// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/PrivateBus.h"
#include "support/TempXdg.h"

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <ostream>

struct CallResult {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs a program to its end (at most `timeoutMs`) with the current environment.
CallResult runTool(const QString& program, const QStringList& args, int timeoutMs = 30000);

// `gdbus call --session` on the automation object; `args` are gdbus argument texts.
CallResult gdbusCall(const QString& method, const QStringList& args = {});

// A GVariant text literal for `text`, so gdbus never reads an id as another type.
QString gvariantString(const QString& text);
QString gvariantStringArray(const QStringList& texts);

struct EntityOnBus {
    QString id;
    QString displayName;
    QString displaySubtitle;
    QByteArray image;
};

// Reads gdbus's printed reply with GLib's own parser. Fails the test when it does not parse.
QList<EntityOnBus> parseEntities(const QString& gdbusOutput);
QList<QStringList> parseFocusFilters(const QString& gdbusOutput);

// The program that offers the automation service: $TOLVANE_AUTOMATION_BINARY when set, else the test host.
QString automationBinary();

// The automation program started by the test, with its output kept in files.
class AutomationProcess {
public:
    explicit AutomationProcess(const TempXdg& xdg);
    ~AutomationProcess();

    // Starts it and waits until it owns the bus name; false when it exits or never gets there.
    bool start();
    QStringList stdoutLines() const;
    QString stderrText() const;
    // "<scheme> <bundle id> main|worker" for each switch the handler was asked for.
    QStringList handlerCalls() const;
    QProcess& process() { return process_; }

private:
    const TempXdg& xdg_;
    QProcess process_;
};

// The environment an automation process needs under test: debug logs on stderr, the handler log.
void prepareAutomationEnvironment(const TempXdg& xdg);

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
