// SPDX-License-Identifier: GPL-3.0-or-later
#include "Paths.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <pwd.h>
#include <unistd.h>

namespace platform {
namespace {

QString absoluteEnv(const char* name) {
    const QString value = qEnvironmentVariable(name);
    return QDir::isAbsolutePath(value) ? value : QString();
}

} // namespace

QString homeDir() {
    const QString env = qEnvironmentVariable("HOME");
    if (!env.isEmpty())
        return env;
    // As GLib does: the user database knows the home folder when the environment does not
    // (a root shell or a service started without HOME).
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    QByteArray buffer(size > 0 ? size : 16384, Qt::Uninitialized);
    struct passwd entry;
    struct passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        found->pw_dir[0] == '/')
        return QFile::decodeName(found->pw_dir);
    return QDir::rootPath();
}

QString configHome() {
    const QString env = absoluteEnv("XDG_CONFIG_HOME");
    return env.isEmpty() ? homeDir() + "/.config" : env;
}

QString dataHome() {
    const QString env = absoluteEnv("XDG_DATA_HOME");
    return env.isEmpty() ? homeDir() + "/.local/share" : env;
}

QStringList dataDirs() {
    QStringList dirs;
    for (const QString& dir : qEnvironmentVariable("XDG_DATA_DIRS").split(':', Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(dir))
            dirs << dir;
    if (dirs.isEmpty())
        dirs << "/usr/local/share"
             << "/usr/share";
    return dirs;
}

QStringList configDirs() {
    QStringList dirs;
    for (const QString& dir : qEnvironmentVariable("XDG_CONFIG_DIRS").split(':', Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(dir))
            dirs << dir;
    if (dirs.isEmpty())
        dirs << QStringLiteral("/etc/xdg");
    return dirs;
}

QString tolvaneConfigDir() {
    return configHome() + "/tolvane";
}

} // namespace platform
