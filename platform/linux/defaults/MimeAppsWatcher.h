// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

namespace platform::linux_ {

// Notices when any mimeapps.list the desktop reads may have changed, by whoever: edits, atomic
// replacements and files or folders that appear or disappear. Bursts of changes come out as one signal.
class MimeAppsWatcher : public QObject {
    Q_OBJECT
public:
    explicit MimeAppsWatcher(QObject* parent = nullptr);

signals:
    void changed();

private:
    void watchCurrentFiles();

    QFileSystemWatcher watcher_;
    QTimer settle_;
};

} // namespace platform::linux_
