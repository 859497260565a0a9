// SPDX-License-Identifier: GPL-3.0-or-later
#include "RouterEntry.h"

#include "platform/Paths.h"
#include "platform/linux/applications/BrowserForwarders.h"
#include "platform/linux/defaults/stores/XfceHelpersWriter.h"
#include "platform/linux/xdg/DesktopEntry.h"
#include "platform/linux/xdg/ExecCommandLine.h"
#include "platform/linux/xdg/ExecLaunch.h"
#include "platform/linux/xdg/ExecScript.h"

#include <QCoreApplication>

namespace platform::linux_ {
namespace {

QString userXfceHelper() {
    const QString name = routerEntryId.chopped(8);
    return platform::dataHome() + QStringLiteral("/xfce4/helpers/") + name + QStringLiteral(".desktop");
}

QByteArray routerScript(const QString& program, const QString& fallbackCommand) {
    QString browser = fallbackCommand.isEmpty() ? QString() : commandLines(fallbackCommand);
    if (browser.isEmpty())
        browser = QStringLiteral("exec x-www-browser \"$@\"\n");
    return QStringLiteral("#!/bin/sh\n"
                          "# Tolvane's handler of web links runs this: Tolvane while it is where it was,\n"
                          "# else the browser chosen in it last. Tolvane writes it again.\n"
                          "tolvane=%1\n"
                          "if [ -x \"$tolvane\" ]; then exec \"$tolvane\" --open \"$@\"; fi\n")
        .arg(shellQuoted(program))
        .append(browser)
        .toUtf8();
}

QByteArray entryText() {
    const QString script = routerScriptPath();
    const QString name = QCoreApplication::translate("Tolvane::links", "Tolvane link rules");
    // One word before the field code: openers that split at every space or keep the first word
    // only (generic xdg-open, exo 4.20) still start it with the link. StartupNotify makes the
    // launcher ask for an activation token, which the browser gets in turn.
    return QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nIcon=app.tolvane.Tolvane\n"
                          "Exec=%2\nTryExec=%3\nMimeType=x-scheme-handler/http;x-scheme-handler/https;\n"
                          "NoDisplay=true\nTerminal=false\nStartupNotify=true\nX-Tolvane-Router=true\n")
        .arg(escapeDesktopValue(name), escapeDesktopValue(quoteExecArgument(script) + QStringLiteral(" %U")),
             escapeDesktopValue(script))
        .toUtf8();
}

} // namespace

QByteArray routerEntryText() {
    return entryText();
}

QString routerEntryPath() {
    return platform::dataHome() + QStringLiteral("/applications/") + routerEntryId;
}

QString routerScriptPath() {
    return platform::dataHome() + QStringLiteral("/tolvane/") + QLatin1String(routerScriptName);
}

bool planRouterFiles(FilePlan& plan, const QString& program, const QString& fallbackCommand, QString* error) {
    const QByteArray script = routerScript(program, fallbackCommand);
    const QByteArray entry = entryText();
    const auto set = [](const QByteArray& content) { return [content](QByteArray& now) { now = content; }; };
    // An XFCE helper of earlier versions ran the program itself: it runs the script now.
    const QByteArray helper = XfceHelpersWriter::helperText(
        QCoreApplication::translate("Tolvane::links", "Tolvane link rules"),
        QStringLiteral("app.tolvane.Tolvane"), quoteExecArgument(routerScriptPath()) + QStringLiteral(" %U"));
    const bool planned =
        plan.edit(routerScriptPath(), false, set(script)) && plan.makeExecutable(routerScriptPath()) &&
        plan.edit(routerEntryPath(), false, set(entry)) && plan.edit(userXfceHelper(), true, set(helper));
    if (!planned)
        *error = plan.error();
    return planned;
}

bool routerFilesCurrent(const QString& program, const QString& fallbackCommand) {
    FilePlan plan;
    QString error;
    return planRouterFiles(plan, program, fallbackCommand, &error) && plan.paths().isEmpty();
}

} // namespace platform::linux_
