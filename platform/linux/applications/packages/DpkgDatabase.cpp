// SPDX-License-Identifier: GPL-3.0-or-later
#include "DpkgDatabase.h"

#include <QFile>

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>

namespace platform::linux_ {

DpkgDatabase::DpkgDatabase(const QString& root) : dir_(root + QStringLiteral("/var/lib/dpkg")) {}

bool DpkgDatabase::refresh() {
    QMutexLocker lock(&mutex_);
    const QByteArray stamp = fileStamp({dir_ + QStringLiteral("/status"), dir_ + QStringLiteral("/info")});
    if (stamp == stamp_)
        return false;
    stamp_ = stamp;
    // All is read again when next needed.
    listsNamed_ = listTimesRead_ = statusRead_ = false;
    status_.clear();
    return true;
}

void DpkgDatabase::readListNamesLocked() {
    listsNamed_ = true;
    lists_.clear();
    DIR* handle = opendir(QFile::encodeName(dir_ + QStringLiteral("/info")).constData());
    if (!handle)
        return;
    while (const dirent* e = readdir(handle)) {
        const QByteArrayView name(e->d_name);
        if (!name.endsWith(".list"))
            continue;
        lists_ << QFile::decodeName(name.chopped(5).toByteArray());
    }
    closedir(handle);
}

namespace {
qint64 nanoseconds(const timespec& time) {
    return qint64(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}
} // namespace

void DpkgDatabase::readListTimesLocked() {
    if (!listsNamed_)
        readListNamesLocked();
    listTimesRead_ = true;
    listTimes_.clear();
    const QString info = dir_ + QStringLiteral("/info/");
    // Only each list's inode: nothing is read.
    for (const QString& list : std::as_const(lists_)) {
        struct stat st;
        listTimes_ << (stat(QFile::encodeName(info + list + QStringLiteral(".list")).constData(), &st) == 0
                           ? nanoseconds(st.st_ctim)
                           : -1);
    }
}

bool DpkgDatabase::listHoldsLocked(const QString& list, const QString& path) const {
    QFile file(dir_ + QStringLiteral("/info/") + list + QStringLiteral(".list"));
    return file.open(QIODevice::ReadOnly) &&
           ('\n' + file.readAll() + '\n').contains('\n' + path.toUtf8() + '\n');
}

// The version of the installed package whose list is `list`, from its paragraph in status.
void DpkgDatabase::readStatusLocked() {
    statusRead_ = true;
    status_.clear();
    packageAt_.clear();
    QFile file(dir_ + QStringLiteral("/status"));
    if (file.open(QIODevice::ReadOnly))
        status_ = '\n' + file.readAll();
    // Only the names, to find packages by them: one pass, nothing else is parsed.
    static const QByteArray heading = "\nPackage: ";
    for (qsizetype at = status_.indexOf(heading); at >= 0; at = status_.indexOf(heading, at + 1)) {
        const qsizetype start = at + heading.size();
        qsizetype end = status_.indexOf('\n', start);
        if (end < 0)
            end = status_.size();
        packageAt_.insert(status_.mid(start, end - start).trimmed(), at);
    }
}

std::optional<QString> DpkgDatabase::versionOfLocked(const QString& list) {
    if (!statusRead_)
        readStatusLocked();
    const QByteArray name = list.section(':', 0, 0).toUtf8();
    const QByteArray arch = list.contains(':') ? list.section(':', 1).toUtf8() : QByteArray();
    const QByteArray heading = "\nPackage: " + name + '\n';
    for (qsizetype at = status_.indexOf(heading); at >= 0; at = status_.indexOf(heading, at + 1)) {
        qsizetype end = status_.indexOf("\n\n", at + 1);
        if (end < 0)
            end = status_.size();
        const QByteArrayView paragraph(status_.constData() + at, end - at);
        auto field = [&](QByteArrayView key) -> QByteArrayView {
            const qsizetype start = paragraph.indexOf(key);
            if (start < 0)
                return {};
            const qsizetype from = start + key.size();
            qsizetype stop = paragraph.indexOf('\n', from);
            if (stop < 0)
                stop = paragraph.size();
            return paragraph.sliced(from, stop - from).trimmed();
        };
        if (!field("\nStatus: ").endsWith(" installed"))
            continue;
        if (!arch.isEmpty() && field("\nArchitecture: ") != arch)
            continue;
        if (const QByteArrayView version = field("\nVersion: "); !version.isEmpty())
            return QString::fromUtf8(version);
    }
    return std::nullopt;
}

// An installed package named after the file whose own list holds the path: the file's name
// ("firefox-esr" for /usr/bin/firefox-esr), the last part of a reverse-DNS desktop file ID
// ("epiphany" for org.gnome.Epiphany.desktop), each also with a suffix ("epiphany-browser").
std::optional<QString> DpkgDatabase::namedOwnerLocked(const QString& path) {
    if (!statusRead_)
        readStatusLocked();
    QString name = path.section('/', -1);
    if (name.endsWith(QLatin1String(".desktop")))
        name.chop(8);
    name = name.toLower();
    QStringList stems{name};
    if (name.contains('.'))
        stems << name.section('.', -1);
    // The packages status names so, and the "name:arch" each names its list when multi-arch.
    QStringList candidates;
    for (const QString& stem : stems) {
        if (stem.isEmpty() || stem.contains(QLatin1String("..")) || stem.contains('/'))
            continue;
        const QByteArray wanted = stem.toUtf8();
        for (auto it = packageAt_.lowerBound(wanted);
             it != packageAt_.constEnd() && it.key().startsWith(wanted); ++it) {
            if (it.key().size() != wanted.size() && it.key()[wanted.size()] != '-')
                continue;
            candidates << QString::fromUtf8(it.key());
            qsizetype paragraphEnd = status_.indexOf("\n\n", *it + 1);
            if (paragraphEnd < 0)
                paragraphEnd = status_.size();
            if (const qsizetype arch = status_.indexOf("\nArchitecture: ", *it + 1);
                arch >= 0 && arch < paragraphEnd)
                candidates << candidates.last() + ':' +
                                  QString::fromUtf8(
                                      status_.mid(arch + 15, status_.indexOf('\n', arch + 1) - arch - 15))
                                      .trimmed();
        }
    }
    candidates.removeDuplicates();
    for (const QString& list : candidates)
        if (listHoldsLocked(list, path))
            return list;
    return std::nullopt;
}

// A package whose list was written within moments of the file (at `onDisk`) being put in place.
std::optional<QString> DpkgDatabase::ownerWrittenWithLocked(const QString& path, const QString& onDisk) {
    struct stat st;
    if (stat(QFile::encodeName(onDisk).constData(), &st) != 0)
        return std::nullopt;
    if (!listTimesRead_)
        readListTimesLocked();
    constexpr qint64 before = 2'000'000'000; // 2 s
    // dpkg writes a package's list once all its files are in place: for a large package on a
    // busy machine that is seconds after its first files.
    constexpr qint64 after = 120'000'000'000; // 2 min
    constexpr qsizetype mostRead = 16;
    // To the nanosecond: one install writes a hundred lists or more in the same second. The lists
    // written next after the file come first, the nearest first; then those just before it.
    const qint64 changed = nanoseconds(st.st_ctim);
    QList<qsizetype> near;
    for (qsizetype i = 0; i < listTimes_.size(); ++i)
        if (listTimes_[i] >= 0 && listTimes_[i] - changed <= after && changed - listTimes_[i] <= before)
            near << i;
    std::sort(near.begin(), near.end(), [&](qsizetype a, qsizetype b) {
        const bool aAfter = listTimes_[a] >= changed, bAfter = listTimes_[b] >= changed;
        if (aAfter != bAfter)
            return aAfter;
        return std::abs(listTimes_[a] - changed) < std::abs(listTimes_[b] - changed);
    });
    for (qsizetype i = 0; i < near.size() && i < mostRead; ++i)
        if (listHoldsLocked(lists_[near[i]], path))
            return lists_[near[i]];
    return std::nullopt;
}

std::optional<QString> DpkgDatabase::versionOwning(const QStringList& paths) {
    QMutexLocker lock(&mutex_);
    if (!statusRead_)
        readStatusLocked();
    if (status_.size() <= 1)
        return std::nullopt; // not a dpkg system
    for (const QString& path : paths)
        if (const auto owner = namedOwnerLocked(path))
            return versionOfLocked(*owner);
    // The file as it lies below the root; the first name that exists is the file itself.
    const QString root = dir_.chopped(QStringLiteral("/var/lib/dpkg").size());
    // Only for desktop entries: a package's program is named after it far more often, and this
    // looks at every list's inode.
    for (const QString& path : paths)
        if (path.endsWith(QLatin1String(".desktop")))
            if (const auto owner = ownerWrittenWithLocked(path, root + path))
                return versionOfLocked(*owner);
    return std::nullopt;
}

} // namespace platform::linux_
