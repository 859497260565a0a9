// SPDX-License-Identifier: GPL-3.0-or-later
#include "MimeAppsWatcher.h"

#include "platform/linux/xdg/MimeAppsLookup.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace platform::linux_ {

MimeAppsWatcher::MimeAppsWatcher(QObject* parent) : QObject(parent) {
    settle_.setSingleShot(true);
    settle_.setInterval(50);
    connect(&settle_, &QTimer::timeout, this, [this] {
        // A replaced file is a new inode: watch again what exists now.
        watchCurrentFiles();
        emit changed();
    });
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
    watchCurrentFiles();
}

void MimeAppsWatcher::watchCurrentFiles() {
    QSet<QString> wanted;
    for (const QString& file : mimeAppsListFiles()) {
        const QFileInfo info(file);
        if (info.exists())
            wanted << info.absoluteFilePath();
        // The folder tells when a list appears, disappears or is renamed into place; while the
        // folder itself is missing (no ~/.config before a first login), the nearest one that exists
        // tells when it appears.
        QDir folder = info.absoluteDir();
        while (!folder.exists() && !folder.isRoot())
            folder.setPath(QFileInfo(folder.absolutePath()).absolutePath());
        wanted << folder.absolutePath();
    }
    const QStringList watched = watcher_.files() + watcher_.directories();
    for (const QString& path : watched)
        if (!wanted.contains(path))
            watcher_.removePath(path);
    for (const QString& path : wanted)
        if (!watched.contains(path))
            watcher_.addPath(path);
}

} // namespace platform::linux_
