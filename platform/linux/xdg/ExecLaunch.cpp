// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExecLaunch.h"

#include "ArgumentBytes.h"
#include "DesktopEntry.h"

#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace platform::linux_ {

QList<QStringList> commandRuns(const QString& command, const QStringList& urls, const ExecEntryFacts& facts,
                               QString* error) {
    return ExecCommandLine(command).runs(urls, facts, error).value_or(QList<QStringList>());
}

QList<QStringList> commandRuns(const QString& command, const QStringList& urls) {
    QString error;
    return commandRuns(command, urls, {}, &error);
}

ExecEntryFacts execEntryFacts(const DesktopEntry& entry, const QString& path) {
    ExecEntryFacts facts;
    if (auto icon = entry.localizedValue(QStringLiteral("Icon")))
        facts.icon = unescapeDesktopValue(*icon);
    if (auto name = entry.name())
        facts.name = *name;
    facts.location = path;
    return facts;
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

namespace {

// A NULL-terminated array of C strings over `bytes`, which must outlive it.
std::vector<char*> pointersTo(QList<QByteArray>& bytes) {
    std::vector<char*> pointers;
    for (QByteArray& b : bytes)
        pointers.push_back(b.data());
    pointers.push_back(nullptr);
    return pointers;
}

QString cannotStart(const QString& program, int error) {
    return QStringLiteral("could not start \u201c%1\u201d: %2")
        .arg(program, QString::fromLocal8Bit(std::strerror(error)));
}

// Starts `run` as a grandchild that nobody waits for, in a session of its own, input from /dev/null.
// QProcess would re-encode the arguments and lose every byte that is not UTF-8.
bool startDetached(const QStringList& run, const QProcessEnvironment& environment, QString* error) {
    // Everything the children need is made before forking: after it, only system calls.
    const QString path = environment.value(QStringLiteral("PATH"));
    const QString found =
        run.first().contains('/')
            ? run.first()
            : QStandardPaths::findExecutable(run.first(), path.isEmpty() ? QStringList() : path.split(':'));
    if (found.isEmpty()) {
        *error = cannotStart(run.first(), ENOENT);
        return false;
    }
    const QByteArray program = argumentBytes(found);
    QList<QByteArray> arguments;
    for (const QString& word : run)
        arguments << argumentBytes(word);
    QList<QByteArray> variables;
    for (const QString& variable : environment.toStringList())
        variables << argumentBytes(variable);
    std::vector<char*> argv = pointersTo(arguments);
    std::vector<char*> envp = pointersTo(variables);
    const int null = open("/dev/null", O_RDONLY | O_CLOEXEC);
    int report[2];
    if (null < 0 || pipe2(report, O_CLOEXEC) != 0) {
        *error = cannotStart(run.first(), errno);
        if (null >= 0)
            close(null);
        return false;
    }
    const pid_t child = fork();
    if (child == 0) {
        const pid_t grandchild = fork();
        if (grandchild != 0) {
            if (grandchild < 0) {
                const int e = errno;
                (void)!write(report[1], &e, sizeof e);
            }
            _exit(0);
        }
        setsid();
        dup2(null, STDIN_FILENO);
        execve(program.constData(), argv.data(), envp.data());
        const int e = errno;
        (void)!write(report[1], &e, sizeof e);
        _exit(127);
    }
    const int forkError = errno;
    close(report[1]);
    close(null);
    if (child < 0) {
        close(report[0]);
        *error = cannotStart(run.first(), forkError);
        return false;
    }
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    // The pipe closes on a successful exec; an error number comes through it otherwise.
    int failure = 0;
    ssize_t got;
    while ((got = read(report[0], &failure, sizeof failure)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    if (got == sizeof failure) {
        *error = cannotStart(run.first(), failure);
        return false;
    }
    return true;
}

} // namespace

bool startRuns(const QList<QStringList>& runs, const QProcessEnvironment& environment, QString* error) {
    for (const QStringList& run : runs)
        if (!run.isEmpty() && !startDetached(run, environment, error))
            return false;
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
        bytes << argumentBytes(word);
    std::vector<char*> argv = pointersTo(bytes);
    execvp(argv[0], argv.data());
    *error = cannotStart(runs.last().first(), errno);
    return false;
}

} // namespace platform::linux_
