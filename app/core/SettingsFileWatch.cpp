// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsFileWatch.h"

#include "SettingsStore.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>

namespace Tolvane {

void watchSettingsFile(QObject* parent, std::function<void()> changed) {
    // Writers replace the file: the folder's watch sees that, the file's sees writes in place.
    QDir().mkpath(platform::tolvaneConfigDir());
    auto* watcher = new QFileSystemWatcher(parent);
    watcher->addPath(platform::tolvaneConfigDir());
    const auto follow = [watcher, changed = std::move(changed)] {
        const QString file = SettingsStore::filePath();
        if (QFileInfo::exists(file) && !watcher->files().contains(file))
            watcher->addPath(file);
        changed();
    };
    QObject::connect(watcher, &QFileSystemWatcher::directoryChanged, watcher, follow);
    QObject::connect(watcher, &QFileSystemWatcher::fileChanged, watcher, follow);
    if (QFileInfo::exists(SettingsStore::filePath()))
        watcher->addPath(SettingsStore::filePath());
}

} // namespace Tolvane
