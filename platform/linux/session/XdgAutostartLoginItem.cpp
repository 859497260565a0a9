// SPDX-License-Identifier: GPL-3.0-or-later
#include "XdgAutostartLoginItem.h"

#include "platform/Paths.h"
#include "platform/linux/xdg/DesktopEntry.h"
#include "platform/linux/xdg/ExecCommandLine.h"
#include "platform/linux/xdg/KeyFileLines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

namespace platform::linux_ {

namespace {

using Error = LoginItemService::Error;

QString fileName(const QString& appId) {
    return appId + QStringLiteral(".desktop");
}

// Values of type string: backslash, newline, tab and carriage return are escaped.
// True when the entry tells session managers not to start it.
bool entrySaysOff(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true; // unreadable or not a file: nothing will be started from it
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup || line.startsWith('#'))
            continue;
        const int equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray key = line.left(equals).trimmed();
        const QByteArray value = line.mid(equals + 1).trimmed();
        if (key == "Hidden" && value == "true")
            return true;
        // GNOME's own switch for an autostart entry; it leaves the file in place.
        if (key == "X-GNOME-Autostart-enabled" && value == "false")
            return true;
    }
    return false;
}

const QString mainGroup = QStringLiteral("Desktop Entry");

std::optional<KeyFileLines> readEntry(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return KeyFileLines(file.readAll());
}

// Where `program` is, as a session would look for it; empty when it is not there to run.
QString locateProgram(const QString& program) {
    if (!program.contains('/'))
        return QStandardPaths::findExecutable(program);
    const QFileInfo info(program);
    return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
}

// The program the entry's command starts; none when it has no usable command.
std::optional<QString> commandProgram(const KeyFileLines& entry) {
    const auto exec = entry.value(mainGroup, QStringLiteral("Exec"));
    if (!exec)
        return std::nullopt;
    return ExecCommandLine(unescapeDesktopValue(*exec)).program();
}

// Sessions skip an entry whose TryExec is not installed, and cannot start one whose program is gone.
bool programMissing(const QString& path) {
    const auto entry = readEntry(path);
    if (!entry)
        return true;
    const auto tryExec = entry->value(mainGroup, QStringLiteral("TryExec"));
    if (tryExec && !tryExec->isEmpty() && locateProgram(unescapeDesktopValue(*tryExec)).isEmpty())
        return true;
    const auto program = commandProgram(*entry);
    return !program || locateProgram(*program).isEmpty();
}

std::optional<Error> writeAtomically(const QString& path, const QByteArray& content) {
    std::error_code error;
    const QString folder = QFileInfo(path).path();
    std::filesystem::create_directories(folder.toStdString(), error);
    if (error)
        return Error{QStringLiteral("Could not create the folder %1: %2")
                         .arg(folder, QString::fromLocal8Bit(error.message()))};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        return Error{QStringLiteral("Could not write %1: %2").arg(path, file.errorString())};
    return std::nullopt;
}

} // namespace

XdgAutostartLoginItem::XdgAutostartLoginItem(QString appId, QString appName, QString executable)
    : appId_(std::move(appId)), appName_(std::move(appName)), executable_(std::move(executable)) {
    launchedAtLogin_ = qgetenv(launchMarker) == "1";
    qunsetenv(launchMarker);
}

QString XdgAutostartLoginItem::entryPath() const {
    return configHome() + QStringLiteral("/autostart/") + fileName(appId_);
}

// An entry of the same name in a system folder starts the app too unless the user's entry hides it.
QString XdgAutostartLoginItem::systemEntryPath() const {
    for (const QString& dir : configDirs()) {
        const QString path = dir + QStringLiteral("/autostart/") + fileName(appId_);
        if (QFileInfo::exists(path))
            return path;
    }
    return {};
}

QByteArray XdgAutostartLoginItem::entryContent() const {
    // --autostart: the app then waits quietly for a tray host that the session starts later.
    const QString exec = QStringLiteral("env ") +
                         quoteExecArgument(QString::fromLatin1(launchMarker) + "=1") + ' ' +
                         quoteExecArgument(executable_) + QStringLiteral(" --autostart");
    QString text;
    text += QStringLiteral("[Desktop Entry]\n");
    text += QStringLiteral("Type=Application\n");
    text += QStringLiteral("Name=") + escapeDesktopValue(appName_) + '\n';
    text += QStringLiteral("Icon=") + escapeDesktopValue(appId_) + '\n';
    text += QStringLiteral("TryExec=") + escapeDesktopValue(executable_) + '\n';
    text += QStringLiteral("Exec=") + escapeDesktopValue(exec) + '\n';
    text += QStringLiteral("Terminal=false\n");
    text += QStringLiteral("X-GNOME-Autostart-enabled=true\n");
    // A tray icon needs the panel; give it a moment and ask the desktops that can to wait for it.
    text += QStringLiteral("X-GNOME-Autostart-Delay=2\n");
    text += QStringLiteral("X-KDE-autostart-after=panel\n");
    text += QStringLiteral("X-LXQt-Need-Tray=true\n");
    return text.toUtf8();
}

LoginItemService::Status XdgAutostartLoginItem::status() {
    const QString user = entryPath();
    const bool userEntryExists = QFileInfo::exists(user) || QFileInfo(user).isSymLink();
    const QString effective = userEntryExists ? user : systemEntryPath();
    if (effective.isEmpty() || entrySaysOff(effective) || programMissing(effective))
        return Status::notRegistered;
    return Status::enabled;
}

std::optional<LoginItemService::Error> XdgAutostartLoginItem::followExecutable() {
    const QString path = entryPath();
    auto entry = readEntry(path);
    if (!entry || entrySaysOff(path))
        return std::nullopt;
    // Only an entry the session would skip follows us: a second copy (a build from source) must
    // not take over an entry whose program still exists.
    const QString running = QFileInfo(executable_).canonicalFilePath();
    if (!commandProgram(*entry) || running.isEmpty() || !programMissing(path))
        return std::nullopt;
    // Only the program changes: the arguments and every other line stay as they are.
    const auto exec = entry->value(mainGroup, QStringLiteral("Exec"));
    const auto moved =
        ExecCommandLine(unescapeDesktopValue(*exec)).withProgram(quoteExecArgument(executable_));
    entry->setValue(mainGroup, QStringLiteral("Exec"), escapeDesktopValue(*moved));
    if (entry->value(mainGroup, QStringLiteral("TryExec")))
        entry->setValue(mainGroup, QStringLiteral("TryExec"), escapeDesktopValue(executable_));
    return writeAtomically(path, entry->content());
}

std::optional<LoginItemService::Error> XdgAutostartLoginItem::registerItem() {
    return writeAtomically(entryPath(), entryContent());
}

std::optional<LoginItemService::Error> XdgAutostartLoginItem::unregisterItem() {
    const QString path = entryPath();
    std::error_code error;
    std::filesystem::remove(path.toStdString(), error); // a missing entry is already off
    if (error)
        return Error{
            QStringLiteral("Could not remove %1: %2").arg(path, QString::fromLocal8Bit(error.message()))};

    const QString system = systemEntryPath();
    if (system.isEmpty() || entrySaysOff(system))
        return std::nullopt;
    // Only hiding it in the user's folder keeps a system-wide entry from starting the app.
    const QString hidden = QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nHidden=true\n")
                               .arg(escapeDesktopValue(appName_));
    return writeAtomically(path, hidden.toUtf8());
}

} // namespace platform::linux_
