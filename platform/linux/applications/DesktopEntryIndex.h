// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/xdg/DesktopEntry.h"
#include "platform/linux/xdg/FileStamp.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <sys/stat.h>
#include <sys/types.h>

namespace platform::linux_ {

// Every installed desktop entry, found by the Desktop Entry rules: the applications/
// folder of each data dir in priority order, IDs from the path below it ('/' becomes '-'),
// the first file of an ID wins and a hidden one masks the lower ones.
// Parsed files are remembered, keyed by their inode, size and times, so an edited entry is read
// again. A listing remembers the stamps of every folder and entry file it saw: while none changed
// (each file is stat'ed, since an edit in place leaves its folder's time alone) and no TryExec
// program came or went, the next listing lists and reads nothing.
class DesktopEntryIndex {
public:
    // How long what a scan found answers per-file questions without looking at the disk again.
    static constexpr int recentMs = 1000;
    // Time stamps closer to the scan than this do not prove a later scan saw the same files: a
    // generous clock tick (some file systems keep times to 2 s).
    static constexpr qint64 defaultSettleNs = 2'000'000'000;
    explicit DesktopEntryIndex(qint64 settleNs = defaultSettleNs) : settleNs_(settleNs) {}
    qint64 settleNs() const { return settleNs_; }

    // XDG data home, then XDG data dirs; no duplicates. Only what the session itself looks up:
    // Flatpak or Snap exports it lacks are invisible to the desktop too, so they are not added.
    QStringList dataDirs() const;
    // dataDirs() as the latest scan saw them when that was under a second ago (it stats folders).
    QStringList recentDataDirs();
    // Usable application entries (Type=Application, not hidden, TryExec present, launchable), in order.
    QList<InstalledEntry> entries();
    // A number that stays the same while entries() answers the same; none while a file changed too
    // recently for its times to show the next change.
    std::optional<quint64> generation();
    // Where each desktop-file ID lives (first found wins), without reading any file; `withStat`
    // when most of them will be read anyway (cheaper through the open folder).
    struct Located {
        QString id;
        QString path;
        struct stat st = {}; // as found by the scan; zero when unknown
    };
    QList<Located> locateAll(bool withStat = false);
    // The entry in that file when it is a usable application.
    std::optional<InstalledEntry> usableEntry(const Located& file);
    // The entry in the file at `path` with its ID, also when another file of that ID wins.
    std::optional<InstalledEntry> entryAtPath(const QString& path);

private:
    struct Cached {
        FileStamp stamp;
        std::shared_ptr<const DesktopEntry> entry; // null when the file is not an entry
        bool usableIfTryExecFound = false;
        bool hasTryExec = false; // checked on every use: the program may come or go
    };
    const Cached* parsedLocked(const QString& path, const struct stat& st);
    std::shared_ptr<const DesktopEntry> parsed(const QString& path, const struct stat& st);
    // One folder a listing went through, with the entry files it held.
    struct SeenFolder {
        QByteArray path;
        bool exists = false;
        FileStamp stamp;
        QList<std::pair<QByteArray, FileStamp>> files; // name, stamp (zero when unreadable)
    };
    struct Snapshot {
        QStringList dataDirs;
        QList<SeenFolder> folders;
        QList<std::pair<std::shared_ptr<const DesktopEntry>, bool>> tryExec; // entry, program missing
        bool settled = false;
        QList<InstalledEntry> entries;
    };
    // One applications folder and its subfolders, each folder once (by device and inode), the
    // nearest first: links between subfolders may form loops, and an ID comes from the shortest path.
    void locate(const QString& applications, bool withStat, QHash<QString, QString>& paths,
                QList<Located>& out, QList<SeenFolder>* seen = nullptr) const;
    // Whether the files snapshot_ saw are all as they were (stats only).
    bool unchangedLocked() const;
    void rescanLocked();
    QString idForPath(const QString& path);

    QMutex mutex_;
    QHash<QString, Cached> cache_;
    // What the latest scan found, so the per-file questions that follow a listing are cheap.
    QStringList lastDataDirs_;
    QHash<QString, QString> lastIds_;            // path → ID
    QHash<QString, InstalledEntry> lastEntries_; // path → usable entry
    QElapsedTimer lastScan_;

    const qint64 settleNs_;
    QMutex scanMutex_; // taken before mutex_
    Snapshot snapshot_;
    quint64 generation_ = 0;
};

} // namespace platform::linux_
