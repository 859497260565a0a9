#include "DpkgDatabase.h"

#include <QDir>
#include <QFile>

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

void DpkgDatabase::readListsLocked() {
    const QString info = dir_ + QStringLiteral("/info");
    const QStringList names = QDir(info).entryList({QStringLiteral("*.list")}, QDir::Files);
    QHash<QString, List> lists;
    bool changed = names.size() != lists_.size();
    for (const QString& name : names) {
        const QString path = info + '/' + name;
        const QString package = name.chopped(5);
        List list{fileStamp({path}), {}};
        if (auto old = lists_.constFind(package); old != lists_.constEnd() && old->stamp == list.stamp) {
            lists.insert(package, *old);
            continue;
        }
        changed = true;
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            for (const QByteArray& line : file.readAll().split('\n'))
                if (isLookupPath(line))
                    list.paths << QString::fromUtf8(line);
        lists.insert(package, list);
    }
    lists_ = std::move(lists);
    if (!changed)
        return;
    owners_.clear();
    for (auto it = lists_.constBegin(); it != lists_.constEnd(); ++it)
        for (const QString& path : it->paths)
            owners_.insert(path, it.key());
}

bool DpkgDatabase::refresh() {
    QMutexLocker lock(&mutex_);
    const QByteArray stamp = fileStamp({dir_ + QStringLiteral("/status"), dir_ + QStringLiteral("/info")});
    if (stamp == stamp_)
        return false;
    stamp_ = stamp;
    // Both are read again when next needed.
    statusRead_ = false;
    listsRead_ = false;
    return true;
}

std::optional<QString> DpkgDatabase::versionOfLocked(const QString& package) const {
    auto version = versions_.constFind(package);
    if (version == versions_.constEnd())
        version = versions_.constFind(package.section(':', 0, 0));
    return version == versions_.constEnd() ? std::nullopt : std::optional(*version);
}

// The installed package named after the file ("firefox-esr" for firefox-esr.desktop or
// /usr/bin/firefox-esr), when its own list holds the path.
std::optional<QString> DpkgDatabase::likelyOwnerLocked(const QString& path) {
    QString name = path.section('/', -1);
    if (name.endsWith(QLatin1String(".desktop")))
        name.chop(8);
    name = name.toLower();
    if (name.isEmpty() || name.contains(QLatin1String("..")) || !versions_.contains(name))
        return std::nullopt;
    const QByteArray wanted = '\n' + path.toUtf8() + '\n';
    // Multi-arch packages name their list "name:arch".
    for (const QString& package : {name, name + ':' + archs_.value(name)}) {
        QFile file(dir_ + QStringLiteral("/info/") + package + QStringLiteral(".list"));
        if (file.open(QIODevice::ReadOnly) && ('\n' + file.readAll() + '\n').contains(wanted))
            return package;
    }
    return std::nullopt;
}

std::optional<QString> DpkgDatabase::versionOwning(const QStringList& paths) {
    QMutexLocker lock(&mutex_);
    if (!statusRead_) {
        readStatusLocked();
        statusRead_ = true;
    }
    for (const QString& path : paths)
        if (const auto owner = likelyOwnerLocked(path))
            if (auto version = versionOfLocked(*owner))
                return version;
    if (!listsRead_) {
        readListsLocked();
        listsRead_ = true;
    }
    for (const QString& path : paths) {
        const auto owner = owners_.constFind(path);
        if (owner == owners_.constEnd())
            continue;
        if (auto version = versionOfLocked(*owner))
            return version;
    }
    return std::nullopt;
}

} // namespace platform::linux_
