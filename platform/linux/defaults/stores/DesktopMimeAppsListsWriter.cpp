// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopMimeAppsListsWriter.h"

#include "MimeAppsListWriter.h"
#include "platform/Paths.h"
#include "platform/linux/xdg/KeyFileLines.h"
#include "platform/linux/xdg/MimeAppsLookup.h"

#include <QDir>

namespace platform::linux_ {

QList<std::pair<QString, QString>> DesktopMimeAppsListsWriter::desktopLists() {
    const QString suffix = QStringLiteral("-mimeapps.list");
    const QDir config(platform::configHome());
    QList<std::pair<QString, QString>> lists;
    for (const QString& name :
         config.entryList({QStringLiteral("*") + suffix}, QDir::Files | QDir::Hidden, QDir::Name)) {
        const QString desktop = name.chopped(suffix.size());
        // Lookups lower-case the desktop's name, so a list spelled otherwise is read by no desktop.
        if (!desktop.isEmpty() && desktop == desktop.toLower())
            lists.append({desktop, config.filePath(name)});
    }
    return lists;
}

bool DesktopMimeAppsListsWriter::plan(const DefaultSwitch& change, FilePlan& files) {
    for (const auto& [desktop, path] : desktopLists()) {
        const bool read = files.edit(path, true, [&](QByteArray& content) {
            KeyFileLines lines(content);
            preferInMimeAppsList(lines, change.types, change.id, true);
            content = lines.content();
        });
        if (!read)
            return false;
    }
    return true;
}

bool DesktopMimeAppsListsWriter::readBack(const DefaultSwitch& change, QString* why) const {
    for (const auto& [desktop, path] : desktopLists()) {
        for (const QString& type : change.types) {
            const auto now = defaultApplication(type, change.isInstalled, {desktop});
            if (now != change.id) {
                *why = QStringLiteral("%1 reads as %2 on %3")
                           .arg(type, now.value_or(QStringLiteral("nothing")), desktop);
                return false;
            }
        }
    }
    return true;
}

} // namespace platform::linux_
