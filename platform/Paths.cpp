#include "Paths.h"

#include <QDir>
#include <QStringList>

namespace platform {
namespace {

QString absoluteEnv(const char* name) {
    const QString value = qEnvironmentVariable(name);
    return QDir::isAbsolutePath(value) ? value : QString();
}

} // namespace

QString configHome() {
    const QString env = absoluteEnv("XDG_CONFIG_HOME");
    return env.isEmpty() ? QDir::homePath() + "/.config" : env;
}

QString dataHome() {
    const QString env = absoluteEnv("XDG_DATA_HOME");
    return env.isEmpty() ? QDir::homePath() + "/.local/share" : env;
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
