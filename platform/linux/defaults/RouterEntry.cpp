// SPDX-License-Identifier: GPL-3.0-or-later
#include "RouterEntry.h"

#include "platform/Paths.h"
#include "platform/linux/applications/BrowserForwarders.h"
#include "platform/linux/defaults/stores/XfceHelpersWriter.h"
#include "platform/linux/xdg/DesktopEntry.h"
#include "platform/linux/xdg/ExecCommandLine.h"
#include "platform/linux/xdg/ExecLaunch.h"

#include <QCoreApplication>

namespace platform::linux_ {
namespace {

// Stand-ins for links: where they land in a run is where the script puts its arguments.
const QString first = QStringLiteral("\x01link-1\x01");
const QString second = QStringLiteral("\x01link-2\x01");

QString shellQuoted(QString word) {
    return '\'' + word.replace('\'', QLatin1String("'\\''")) + '\'';
}

// One argument of a run, with `link` (a shell expansion) where the stand-in stood.
QString shellWord(const QString& word, const QString& link) {
    const QStringList pieces = word.split(first);
    QStringList quoted;
    for (const QString& piece : pieces)
        quoted << (piece.isEmpty() ? QString() : shellQuoted(piece));
    QString joined = quoted.join(link);
    return joined.isEmpty() ? QStringLiteral("''") : joined;
}

QString shellLine(const QStringList& run, const QString& link) {
    QStringList words;
    for (const QString& word : run)
        words << shellWord(word, link);
    return words.join(' ');
}

// The lines that run `command` for the script's arguments; empty when it cannot be read.
QString commandLines(const QString& command) {
    const QList<QStringList> none = commandRuns(command, {});
    const QList<QStringList> one = commandRuns(command, {first});
    const QList<QStringList> two = commandRuns(command, {first, second});
    if (none.size() != 1 || one.size() != 1 || two.isEmpty() || none.first().isEmpty())
        return {};
    if (QStringList run = two.first(); two.size() == 1) {
        // Every link in one run: they stand together where the list goes.
        const qsizetype at = run.indexOf(first);
        if (at >= 0 && run.value(at + 1) == second) {
            run.remove(at + 1);
            return QStringLiteral("exec %1\n").arg(shellLine(run, QStringLiteral("\"$@\"")));
        }
        if (!one.first().join(QString()).contains(first))
            return QStringLiteral("exec %1\n").arg(shellLine(none.first(), {})); // takes no link
    }
    // One run a link, the last in this process's place.
    return QStringLiteral("[ $# -gt 0 ] || exec %1\n"
                          "while [ $# -gt 1 ]; do %2 & shift; done\n"
                          "exec %2\n")
        .arg(shellLine(none.first(), {}), shellLine(one.first(), QStringLiteral("\"$1\"")));
}

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

QByteArray scriptRunning(const QString& command) {
    const QString lines = commandLines(command);
    return lines.isEmpty() ? QByteArray() : QStringLiteral("#!/bin/sh\n%1").arg(lines).toUtf8();
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
