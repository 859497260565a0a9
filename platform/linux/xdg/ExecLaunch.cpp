// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExecLaunch.h"

#include "ExecCommandLine.h"

#include <QFile>
#include <QProcess>

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace platform::linux_ {

QList<QStringList> commandRuns(const QString& command, const QStringList& urls) {
    const QStringList words = ExecCommandLine(command).words();
    if (words.isEmpty())
        return {};
    const bool oneEach = words.contains(QStringLiteral("%u")) || words.contains(QStringLiteral("%f"));
    QList<QStringList> batches;
    if (oneEach && urls.size() > 1)
        for (const QString& url : urls)
            batches << QStringList{url};
    else
        batches << urls;
    QList<QStringList> runs;
    for (const QStringList& batch : batches) {
        QStringList argv;
        for (const QString& word : words) {
            if (word == QLatin1String("%u") || word == QLatin1String("%f"))
                argv << batch.mid(0, 1);
            else if (word == QLatin1String("%U") || word == QLatin1String("%F"))
                argv << batch;
            else if (!(word.size() == 2 && word[0] == '%'))
                argv << word;
        }
        runs << argv;
    }
    return runs;
}

QProcessEnvironment browserEnvironment(QProcessEnvironment environment) {
    // An Electron program that opens a link leaves these for its children: a browser would start
    // as Node, or name itself after the caller.
    for (const QString& name : environment.keys())
        if (name.startsWith(QLatin1String("ELECTRON_")) || name == QLatin1String("CHROME_DESKTOP") ||
            name == QLatin1String("CHROME_WRAPPER") || name == QLatin1String("CHROME_VERSION_EXTRA") ||
            name == QLatin1String("GOOGLE_CRASHPAD_PIPE_NAME"))
            environment.remove(name);
    // Chromium-based callers also put their own desktop name in place of the session's.
    if (environment.contains(QStringLiteral("ORIGINAL_XDG_CURRENT_DESKTOP"))) {
        environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"),
                           environment.value(QStringLiteral("ORIGINAL_XDG_CURRENT_DESKTOP")));
        environment.remove(QStringLiteral("ORIGINAL_XDG_CURRENT_DESKTOP"));
    }
    return environment;
}

bool startRuns(const QList<QStringList>& runs, const QProcessEnvironment& environment, QString* error) {
    for (const QStringList& run : runs) {
        if (run.isEmpty())
            continue;
        QProcess process;
        process.setProgram(run.first());
        process.setArguments(run.mid(1));
        process.setProcessEnvironment(environment);
        process.setStandardInputFile(QProcess::nullDevice());
        if (!process.startDetached()) {
            *error =
                QStringLiteral("could not start \u201c%1\u201d: %2").arg(run.first(), process.errorString());
            return false;
        }
    }
    return true;
}

bool execRuns(const QList<QStringList>& runs, QString* error) {
    if (runs.isEmpty() || runs.last().isEmpty()) {
        *error = QStringLiteral("no command to start");
        return false;
    }
    const QProcessEnvironment environment = browserEnvironment(QProcessEnvironment::systemEnvironment());
    if (!startRuns(runs.mid(0, runs.size() - 1), environment, error))
        return false;
    // This process becomes the last run: its environment, cleaned the same way.
    const QProcessEnvironment here = QProcessEnvironment::systemEnvironment();
    for (const QString& name : here.keys())
        if (!environment.contains(name))
            qunsetenv(name.toLocal8Bit().constData());
    for (const QString& name : environment.keys())
        if (environment.value(name) != here.value(name))
            qputenv(name.toLocal8Bit().constData(), environment.value(name).toLocal8Bit());
    QList<QByteArray> bytes;
    for (const QString& word : runs.last())
        bytes << QFile::encodeName(word);
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    *error = QStringLiteral("could not start \u201c%1\u201d: %2")
                 .arg(runs.last().first(), QString::fromLocal8Bit(std::strerror(errno)));
    return false;
}

} // namespace platform::linux_
