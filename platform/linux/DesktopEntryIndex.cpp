#include "DesktopEntryIndex.h"

#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace platform::linux_ {
namespace {

constexpr int maxDepth = 8; // bounds symlink loops between subfolders

QString cleaned(const QString& path) {
    return QDir::cleanPath(path);
}

qint64 nanoseconds(const struct timespec& t) {
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
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
    const qint64 mtime = nanoseconds(st.st_mtim), ctime = nanoseconds(st.st_ctim);
    auto it = cache_.find(path);
    if (it != cache_.end() && it->device == st.st_dev && it->inode == st.st_ino && it->size == st.st_size &&
        it->mtimeNs == mtime && it->ctimeNs == ctime)
        return &*it;
    Cached slot{st.st_dev, st.st_ino, st.st_size, mtime, ctime, nullptr, false, false};
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

void DesktopEntryIndex::locate(const QString& dir, const QString& prefix, int depth, bool withStat,
                               QHash<QString, QString>& paths, QList<Located>& out) const {
    DIR* handle = opendir(QFile::encodeName(dir).constData());
    if (!handle)
        return;
    const int dirFd = dirfd(handle);
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
            if (fstatat(dirFd, e->d_name, &n.st, 0) != 0)
                continue;
            n.isDir = S_ISDIR(n.st.st_mode);
            if (!n.isDir && !S_ISREG(n.st.st_mode))
                continue;
        }
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
                locate(path, prefix + name + '-', depth + 1, withStat, paths, out);
            continue;
        }
        const QString id = prefix + name;
        if (paths.contains(id))
            continue; // a higher-priority folder has this ID
        paths.insert(id, path);
        out << Located{id, path, n.st};
    }
}

QList<DesktopEntryIndex::Located> DesktopEntryIndex::locateAll(bool withStat) {
    QList<Located> out;
    QHash<QString, QString> paths;
    const QStringList dirs = dataDirs();
    for (const QString& dir : dirs)
        locate(dir + "/applications", QString(), 0, withStat, paths, out);
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

QList<InstalledEntry> DesktopEntryIndex::entries() {
    QList<InstalledEntry> out;
    const QList<Located> files = locateAll(true);
    for (const Located& file : files)
        if (auto entry = usableEntry(file))
            out << *entry;
    QMutexLocker lock(&mutex_);
    if (cache_.size() > 4 * files.size() + 64)
        cache_.clear(); // forget files that went away; the next call reads the rest again
    // Usually nothing changed since the last scan: then its answers stay as they are.
    const bool same =
        lastEntries_.size() == out.size() && std::all_of(out.begin(), out.end(), [&](const auto& e) {
            const auto it = lastEntries_.constFind(e.path);
            return it != lastEntries_.constEnd() && it->entry == e.entry && it->id == e.id;
        });
    if (!same) {
        lastIds_.clear();
        lastEntries_.clear();
        for (const InstalledEntry& e : out) {
            lastIds_.insert(e.path, e.id);
            lastEntries_.insert(e.path, e);
        }
    }
    lastScan_.start();
    return out;
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
