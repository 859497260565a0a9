// SPDX-License-Identifier: GPL-3.0-or-later
#include "TempXdg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>

TempXdg::TempXdg() {
    setEnv("HOME", home().toUtf8());
    setEnv("XDG_CONFIG_HOME", configHome().toUtf8());
    setEnv("XDG_DATA_HOME", dataHome().toUtf8());
    setEnv("XDG_DATA_DIRS", systemData().toUtf8());
    setEnv("XDG_CONFIG_DIRS", (home() + "/etc/xdg").toUtf8());
    setEnv("XDG_CACHE_HOME", (home() + "/.cache").toUtf8());
    setEnv("XDG_CURRENT_DESKTOP", "");
    QDir().mkpath(configHome());
    QDir().mkpath(applicationsDir());
    QDir().mkpath(systemData() + "/applications");
    writeFile(browserProgram(), "#!/bin/sh\nexit 0\n");
    QFile::setPermissions(browserProgram(), QFile::permissions(browserProgram()) | QFile::ExeOwner);
}

TempXdg::~TempXdg() {
    for (auto it = saved_.begin(); it != saved_.end(); ++it) {
        if (it.value())
            qputenv(it.key().constData(), *it.value());
        else
            qunsetenv(it.key().constData());
    }
}

void TempXdg::setEnv(const char* name, const QByteArray& value) {
    if (!saved_.contains(name))
        saved_.insert(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    qputenv(name, value);
}

QString TempXdg::writeFile(const QString& path, const QByteArray& content) const {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write(content);
    return path;
}

QByteArray TempXdg::readFile(const QString& path) const {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString TempXdg::writeBrowserEntry(const QString& id, const QString& name, const QByteArray& extra) const {
    return writeFile(applicationsDir() + "/" + id + ".desktop",
                     "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() +
                         "\nExec=" + browserProgram().toUtf8() + " %u\n" +
                         "MimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;\n" + extra);
}
