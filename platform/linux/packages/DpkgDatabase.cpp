#include "DpkgDatabase.h"

#include <QFile>

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>

namespace platform::linux_ {

DpkgDatabase::DpkgDatabase(const QString& root) : dir_(root + QStringLiteral("/var/lib/dpkg")) {}

void DpkgDatabase::readStatusLocked() {
    const QByteArray stamp = fileStamp({dir_ + QStringLiteral("/status")});
    if (stamp == statusStamp_)
        return;
    statusStamp_ = stamp;
    versions_.clear();
    archs_.clear();
    QFile file(dir_ + QStringLiteral("/status"));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray content = file.readAll();
    QByteArray package, arch, version;
    bool installed = false;
    auto flush = [&] {
        if (installed && !package.isEmpty() && !version.isEmpty()) {
            const QString v = QString::fromUtf8(version);
            versions_.insert(QString::fromUtf8(package), v);
            if (!arch.isEmpty()) {
                versions_.insert(QString::fromUtf8(package + ':' + arch), v);
                archs_.insert(QString::fromUtf8(package), QString::fromUtf8(arch));
            }
        }
        package.clear();
        arch.clear();
        version.clear();
        installed = false;
    };
    qsizetype start = 0;
    while (start <= content.size()) {
        qsizetype end = content.indexOf('\n', start);
        if (end < 0)
            end = content.size();
        const QByteArrayView line(content.constData() + start, end - start);
        start = end + 1;
        if (line.isEmpty()) {
            flush();
            continue;
        }
        if (line.startsWith("Package: "))
            package = line.sliced(9).trimmed().toByteArray();
        else if (line.startsWith("Version: "))
            version = line.sliced(9).trimmed().toByteArray();
        else if (line.startsWith("Architecture: "))
            arch = line.sliced(14).trimmed().toByteArray();
        else if (line.startsWith("Status: "))
            installed = line.trimmed().endsWith(" installed");
    }
    flush();
}

void DpkgDatabase::readListTimesLocked() {
    listTimes_.clear();
    const QByteArray info = QFile::encodeName(dir_ + QStringLiteral("/info"));
    DIR* handle = opendir(info.constData());
    if (!handle)
        return;
    // Only the folder and each list's inode: nothing is read.
    while (const dirent* e = readdir(handle)) {
        const QByteArrayView name(e->d_name);
        struct stat st;
        if (name.endsWith(".list") && fstatat(dirfd(handle), e->d_name, &st, 0) == 0)
            listTimes_ << ListTime{QFile::decodeName(name.chopped(5).toByteArray()),
                                   qint64(st.st_ctim.tv_sec)};
    }
    closedir(handle);
}

bool DpkgDatabase::refresh() {
    QMutexLocker lock(&mutex_);
    const QByteArray stamp = fileStamp({dir_ + QStringLiteral("/status"), dir_ + QStringLiteral("/info")});
    if (stamp == stamp_)
        return false;
    stamp_ = stamp;
    // Both are read again when next needed.
    statusRead_ = false;
    listTimesRead_ = false;
    return true;
}

std::optional<QString> DpkgDatabase::versionOfLocked(const QString& package) const {
    auto version = versions_.constFind(package);
    if (version == versions_.constEnd())
        version = versions_.constFind(package.section(':', 0, 0));
    return version == versions_.constEnd() ? std::nullopt : std::optional(*version);
}

bool DpkgDatabase::listHoldsLocked(const QString& package, const QString& path) const {
    QFile file(dir_ + QStringLiteral("/info/") + package + QStringLiteral(".list"));
    return file.open(QIODevice::ReadOnly) &&
           ('\n' + file.readAll() + '\n').contains('\n' + path.toUtf8() + '\n');
}

// An installed package named after the file whose own list holds the path: the file's name
// ("firefox-esr" for /usr/bin/firefox-esr), the last part of a reverse-DNS desktop file ID
// ("epiphany" for org.gnome.Epiphany.desktop), each also with a suffix ("epiphany-browser").
std::optional<QString> DpkgDatabase::namedOwnerLocked(const QString& path) const {
    QString name = path.section('/', -1);
    if (name.endsWith(QLatin1String(".desktop")))
        name.chop(8);
    name = name.toLower();
    QStringList stems{name};
    if (name.contains('.'))
        stems << name.section('.', -1);
    QStringList packages;
    for (const QString& stem : stems) {
        if (stem.isEmpty() || stem.contains(QLatin1String("..")) || stem.contains('/'))
            continue;
        if (versions_.contains(stem))
            packages << stem;
        for (auto it = archs_.constBegin(); it != archs_.constEnd(); ++it)
            if (it.key().size() > stem.size() + 1 && it.key().startsWith(stem) &&
                it.key()[stem.size()] == '-')
                packages << it.key();
    }
    packages.removeDuplicates();
    // Multi-arch packages name their list "name:arch".
    for (const QString& package : packages)
        for (const QString& list : {package, package + ':' + archs_.value(package)})
            if (listHoldsLocked(list, path))
                return list;
    return std::nullopt;
}

// A package whose list was written within moments of the file (at `onDisk`) being put in place.
std::optional<QString> DpkgDatabase::ownerWrittenWithLocked(const QString& path, const QString& onDisk) {
    struct stat st;
    if (stat(QFile::encodeName(onDisk).constData(), &st) != 0)
        return std::nullopt;
    if (!listTimesRead_) {
        readListTimesLocked();
        listTimesRead_ = true;
    }
    constexpr qint64 window = 2; // seconds
    constexpr qsizetype mostRead = 16;
    QList<ListTime> near;
    for (const ListTime& list : listTimes_)
        if (std::abs(list.changed - qint64(st.st_ctim.tv_sec)) <= window)
            near << list;
    std::sort(near.begin(), near.end(), [&](const ListTime& a, const ListTime& b) {
        return std::abs(a.changed - st.st_ctim.tv_sec) < std::abs(b.changed - st.st_ctim.tv_sec);
    });
    for (qsizetype i = 0; i < near.size() && i < mostRead; ++i)
        if (listHoldsLocked(near[i].package, path))
            return near[i].package;
    return std::nullopt;
}

std::optional<QString> DpkgDatabase::versionOwning(const QStringList& paths) {
    QMutexLocker lock(&mutex_);
    if (!statusRead_) {
        readStatusLocked();
        statusRead_ = true;
    }
    if (versions_.isEmpty())
        return std::nullopt; // not a dpkg system
    for (const QString& path : paths)
        if (const auto owner = namedOwnerLocked(path))
            return versionOfLocked(*owner);
    // The file as it lies below the root; the first name that exists is the file itself.
    const QString root = dir_.chopped(QStringLiteral("/var/lib/dpkg").size());
    for (const QString& path : paths)
        if (const auto owner = ownerWrittenWithLocked(path, root + path))
            return versionOfLocked(*owner);
    return std::nullopt;
}

} // namespace platform::linux_
