// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExecScript.h"

#include "ExecLaunch.h"

namespace platform::linux_ {
namespace {

// Stand-ins for links: where they land in a run is where the script puts its arguments.
const QString first = QStringLiteral("\x01link-1\x01");
const QString second = QStringLiteral("\x01link-2\x01");

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

} // namespace

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

QString shellQuoted(QString word) {
    return '\'' + word.replace('\'', QLatin1String("'\\''")) + '\'';
}

QByteArray scriptRunning(const QString& command) {
    const QString lines = commandLines(command);
    return lines.isEmpty() ? QByteArray() : QStringLiteral("#!/bin/sh\n%1").arg(lines).toUtf8();
}

} // namespace platform::linux_
