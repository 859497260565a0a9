// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopEntryIndex.h"

#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace platform::linux_ {
namespace {

constexpr int maxDepth = 8; // no installer nests deeper; a guard, not what stops loops

QString cleaned(const QString& path) {
    return QDir::cleanPath(path);
}

} // namespace

QStringList DesktopEntryIndex::dataDirs() const {
    QStringList dirs;
    auto add = [&](const QString& dir) {
        const QString clean = cleaned(dir);
        if (!dirs.contains(clean))
            dirs << clean;
    };
    add(platform::dataHome());
    for (const QString& dir : platform::dataDirs())
        add(dir);
    return dirs;
}

QStringList DesktopEntryIndex::recentDataDirs() {
    {
        QMutexLocker lock(&mutex_);
        if (lastScan_.isValid() && !lastScan_.hasExpired(recentMs))
            return lastDataDirs_;
    }
    return dataDirs();
}

const DesktopEntryIndex::Cached* DesktopEntryIndex::parsedLocked(const QString& path, const struct stat& st) {
    const FileStamp stamp = FileStamp::of(st);
    auto it = cache_.find(path);
    if (it != cache_.end() && it->stamp == stamp)
        return &*it;
    Cached slot{stamp, nullptr, false, false};
    if (st.st_size <= DesktopEntry::maxFileSize)
        if (auto read = DesktopEntry::read(path)) {
            slot.entry = std::make_shared<const DesktopEntry>(std::move(*read));
            slot.usableIfTryExecFound =
                slot.entry->isApplication() && !slot.entry->isHidden() && slot.entry->isLaunchable();
            slot.hasTryExec = slot.entry->value(QStringLiteral("TryExec")).has_value();
        }
    return &*cache_.insert(path, slot);
}

std::shared_ptr<const DesktopEntry> DesktopEntryIndex::parsed(const QString& path, const struct stat& st) {
    QMutexLocker lock(&mutex_);
    return parsedLocked(path, st)->entry;
}

void DesktopEntryIndex::locate(const QString& applications, bool withStat, QHash<QString, QString>& paths,
                               QList<Located>& out, QList<SeenFolder>* seen) const {
    struct Pending {
        QString dir;
        QString prefix;
        int depth;
    };
    std::deque<Pending> queue{{applications, QString(), 0}};
    std::set<std::pair<dev_t, ino_t>> visited;
    for (; !queue.empty(); queue.pop_front()) {
        const auto [dir, prefix, depth] = queue.front();
        const QByteArray encoded = QFile::encodeName(dir);
        DIR* handle = opendir(encoded.constData());
        const int dirFd = handle ? dirfd(handle) : -1;
        struct stat dirSt;
        const bool opened = handle && fstat(dirFd, &dirSt) == 0;
        if (opened && !visited.insert({dirSt.st_dev, dirSt.st_ino}).second) {
            closedir(handle); // reached again through a link: its entries are listed already
            continue;
        }
        SeenFolder* folder = nullptr; // into `seen`, valid until the next folder is added
        if (seen) {
            SeenFolder added;
            added.path = encoded;
            if (opened) {
                added.exists = true;
                added.stamp = FileStamp::of(dirSt);
            }
            seen->append(added);
            folder = &seen->back();
        }
        if (!handle)
            continue;
        struct Name {
            QByteArray raw;
            bool isDir;
            struct stat st;
        };
        QList<Name> names;
        while (const dirent* e = readdir(handle)) {
            if (e->d_name[0] == '.')
                continue;
            const qsizetype len = qsizetype(strlen(e->d_name));
            const bool desktopName = len > 8 && memcmp(e->d_name + len - 8, ".desktop", 8) == 0;
            if (!desktopName && e->d_type != DT_DIR && e->d_type != DT_LNK && e->d_type != DT_UNKNOWN)
                continue;
            Name n{QByteArray(e->d_name, len), e->d_type == DT_DIR, {}};
            const bool typeKnown = e->d_type == DT_DIR || e->d_type == DT_REG;
            if (withStat || !typeKnown) {
                // Relative to the open folder: much cheaper than walking the whole path again.
                if (fstatat(dirFd, e->d_name, &n.st, 0) != 0) {
                    if (folder && desktopName) // a dangling link may be mended later
                        folder->files.append({n.raw, FileStamp{}});
                    continue;
                }
                n.isDir = S_ISDIR(n.st.st_mode);
                if (!n.isDir && !S_ISREG(n.st.st_mode))
                    continue;
            }
            if (folder && desktopName)
                folder->files.append(
                    {n.raw, n.isDir || S_ISREG(n.st.st_mode) ? FileStamp::of(n.st) : FileStamp{}});
            if (n.isDir || desktopName)
                names << n;
        }
        closedir(handle);
        // Sorted, so an ID that two subfolders could both produce resolves the same way every time.
        std::sort(names.begin(), names.end(), [](const Name& a, const Name& b) { return a.raw < b.raw; });
        for (const Name& n : names) {
            const QString name = QFile::decodeName(n.raw);
            const QString path = dir + '/' + name;
            if (n.isDir) {
                if (depth < maxDepth)
                    queue.push_back({path, prefix + name + '-', depth + 1});
                continue;
            }
            const QString id = prefix + name;
            if (paths.contains(id))
                continue; // a higher-priority folder has this ID
            paths.insert(id, path);
            out << Located{id, path, n.st};
        }
    }
}

QList<DesktopEntryIndex::Located> DesktopEntryIndex::locateAll(bool withStat) {
    QList<Located> out;
    QHash<QString, QString> paths;
    const QStringList dirs = dataDirs();
    for (const QString& dir : dirs)
        locate(dir + "/applications", withStat, paths, out);
    QMutexLocker lock(&mutex_);
    lastDataDirs_ = dirs;
    lastScan_.start();
    return out;
}

std::optional<InstalledEntry> DesktopEntryIndex::usableEntry(const Located& file) {
    struct stat st = file.st;
    if (!file.st.st_ino && (stat(QFile::encodeName(file.path).constData(), &st) != 0 || !S_ISREG(st.st_mode)))
        return std::nullopt;
    QMutexLocker lock(&mutex_);
    const Cached* slot = parsedLocked(file.path, st);
    if (!slot->usableIfTryExecFound || (slot->hasTryExec && slot->entry->tryExecMissing()))
        return std::nullopt;
    return InstalledEntry{file.id, file.path, slot->entry};
}

bool DesktopEntryIndex::unchangedLocked() const {
    if (!snapshot_.settled || snapshot_.dataDirs != dataDirs())
        return false;
    for (const SeenFolder& folder : snapshot_.folders) {
        const int fd = open(folder.path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        struct stat st;
        const bool exists = fd >= 0 && fstat(fd, &st) == 0;
        bool same = exists == folder.exists && (!exists || FileStamp::of(st) == folder.stamp);
        for (qsizetype i = 0; same && i < folder.files.size(); ++i) {
            const auto& [name, stamp] = folder.files[i];
            const bool found = fstatat(fd, name.constData(), &st, 0) == 0;
            same = found && (S_ISDIR(st.st_mode) || S_ISREG(st.st_mode)) ? FileStamp::of(st) == stamp
                                                                         : stamp == FileStamp{};
        }
        if (fd >= 0)
            close(fd);
        if (!same)
            return false;
    }
    // A TryExec program may be installed or removed without any entry changing.
    return std::all_of(snapshot_.tryExec.begin(), snapshot_.tryExec.end(),
                       [](const auto& e) { return e.first->tryExecMissing() == e.second; });
}

void DesktopEntryIndex::rescanLocked() {
    const qint64 started = wallClockNs();
    Snapshot next;
    next.dataDirs = dataDirs();
    QList<Located> files;
    QHash<QString, QString> paths;
    for (const QString& dir : next.dataDirs)
        locate(dir + "/applications", true, paths, files, &next.folders);
    QMutexLocker lock(&mutex_);
    for (const Located& file : files) {
        const Cached* slot = parsedLocked(file.path, file.st);
        if (!slot->usableIfTryExecFound)
            continue;
        if (slot->hasTryExec) {
            const bool missing = slot->entry->tryExecMissing();
            next.tryExec.append({slot->entry, missing});
            if (missing)
                continue;
        }
        next.entries << InstalledEntry{file.id, file.path, slot->entry};
    }
    next.settled = std::all_of(next.folders.begin(), next.folders.end(), [&](const SeenFolder& folder) {
        return folder.stamp.settledBefore(started, settleNs_) &&
               std::all_of(folder.files.begin(), folder.files.end(),
                           [&](const auto& file) { return file.second.settledBefore(started, settleNs_); });
    });
    if (cache_.size() > 4 * files.size() + 64)
        cache_.clear(); // forget files that went away; the next call reads the rest again
    lastIds_.clear();
    lastEntries_.clear();
    for (const InstalledEntry& e : next.entries) {
        lastIds_.insert(e.path, e.id);
        lastEntries_.insert(e.path, e);
    }
    lastDataDirs_ = next.dataDirs;
    lastScan_.start();
    snapshot_ = std::move(next);
    ++generation_;
}

QList<InstalledEntry> DesktopEntryIndex::entries() {
    QMutexLocker scan(&scanMutex_);
    if (unchangedLocked()) {
        QMutexLocker lock(&mutex_);
        lastScan_.start();
        return snapshot_.entries;
    }
    rescanLocked();
    return snapshot_.entries;
}

std::optional<quint64> DesktopEntryIndex::generation() {
    QMutexLocker scan(&scanMutex_);
    if (!unchangedLocked())
        rescanLocked();
    return snapshot_.settled ? std::optional(generation_) : std::nullopt;
}

QString DesktopEntryIndex::idForPath(const QString& path) {
    const QString clean = cleaned(path);
    {
        QMutexLocker lock(&mutex_);
        if (auto it = lastIds_.constFind(clean); it != lastIds_.constEnd())
            return *it;
    }
    for (const QString& dir : recentDataDirs()) {
        const QString apps = dir + "/applications/";
        if (clean.startsWith(apps))
            return clean.mid(apps.size()).replace('/', '-');
    }
    return QFileInfo(clean).fileName();
}

std::optional<InstalledEntry> DesktopEntryIndex::entryAtPath(const QString& path) {
    {
        // Right after a listing, its callers ask about each entry it returned; answer from it.
        QMutexLocker lock(&mutex_);
        if (lastScan_.isValid() && !lastScan_.hasExpired(recentMs))
            if (auto it = lastEntries_.constFind(path); it != lastEntries_.constEnd())
                return *it;
    }
    struct stat st;
    if (!path.endsWith(QLatin1String(".desktop")) || stat(QFile::encodeName(path).constData(), &st) != 0 ||
        !S_ISREG(st.st_mode))
        return std::nullopt;
    const QString clean = cleaned(path);
    const auto entry = parsed(clean, st);
    if (!entry || !entry->isApplication() || entry->isHidden())
        return std::nullopt;
    return InstalledEntry{idForPath(clean), clean, entry};
}

} // namespace platform::linux_
