// SPDX-License-Identifier: GPL-3.0-or-later
#include "MimeAppsLookup.h"

#include "AtomicFile.h"
#include "KeyFileLines.h"
#include "platform/Paths.h"

#include <QDir>

namespace platform::linux_ {

QStringList currentDesktops() {
    QStringList desktops;
    for (const QString& d : qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(':', Qt::SkipEmptyParts)) {
        const QString name = d.trimmed().toLower();
        if (!name.isEmpty() && !name.contains('/') && !desktops.contains(name))
            desktops << name;
    }
    return desktops;
}

QStringList mimeAppsListFiles() {
    return mimeAppsListFiles(currentDesktops());
}

QStringList mimeAppsListFiles(const QStringList& desktops) {
    QStringList folders{platform::configHome()};
    folders << configDirs();
    folders << platform::dataHome() + "/applications";
    for (const QString& dir : platform::dataDirs())
        folders << dir + "/applications";
    QStringList files;
    for (const QString& folder : folders) {
        for (const QString& desktop : desktops)
            files << folder + '/' + desktop + "-mimeapps.list";
        files << folder + "/mimeapps.list";
    }
    files.removeDuplicates();
    return files;
}

std::optional<QString> defaultApplication(const QString& mimeType,
                                          const std::function<bool(const QString& id)>& isInstalled) {
    return defaultApplication(mimeType, isInstalled, currentDesktops());
}

std::optional<QString> defaultApplication(const QString& mimeType,
                                          const std::function<bool(const QString& id)>& isInstalled,
                                          const QStringList& desktops) {
    for (const QString& file : mimeAppsListFiles(desktops)) {
        const auto snapshot = readSnapshot(file);
        if (!snapshot || !snapshot->existed)
            continue;
        const KeyFileLines lines(snapshot->content);
        for (const QString& id : lines.list(QStringLiteral("Default Applications"), mimeType))
            if (isInstalled(id))
                return id;
    }
    return std::nullopt;
}

} // namespace platform::linux_
