// SPDX-License-Identifier: GPL-3.0-or-later
#include "PacmanDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace platform::linux_ {
namespace {

// The lines of each "%SECTION%" of a desc or files file.
QHash<QByteArray, QList<QByteArray>> sections(const QString& path) {
    QHash<QByteArray, QList<QByteArray>> out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return out;
    QByteArray current;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.size() > 2 && line.startsWith('%') && line.endsWith('%'))
            current = line;
        else if (!line.isEmpty() && !current.isEmpty())
            out[current] << line;
    }
    return out;
}

} // namespace

PacmanDatabase::PacmanDatabase(const QString& root) : dir_(root + QStringLiteral("/var/lib/pacman/local")) {}

bool PacmanDatabase::refresh() {
    QMutexLocker lock(&mutex_);
    const QByteArray stamp = fileStamp({dir_});
    if (stamp == stamp_ && pending_.isEmpty())
        return false;
    const bool first = stamp_.isEmpty();
    stamp_ = stamp;
    QHash<QString, Package> packages;
    pending_.clear();
    for (const QString& name : QDir(dir_).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (auto old = packages_.constFind(name); old != packages_.constEnd()) {
            packages.insert(name, *old);
            continue;
        }
        // pacman makes a package's folder first and fills it later: one caught half-written is
        // looked at again on every refresh until it is complete.
        const QString files = dir_ + '/' + name + QStringLiteral("/files");
        const auto version = sections(dir_ + '/' + name + QStringLiteral("/desc")).value("%VERSION%");
        if (version.isEmpty() || !QFileInfo::exists(files)) {
            pending_ << name;
            continue;
        }
        Package package{QString::fromUtf8(version.front()), {}};
        for (const QByteArray& line : sections(files).value("%FILES%"))
            if (isLookupPath(line))
                package.paths << '/' + QString::fromUtf8(line);
        packages.insert(name, package);
    }
    const bool changed = first || packages.size() != packages_.size() ||
                         !std::all_of(packages.keyBegin(), packages.keyEnd(),
                                      [&](const QString& name) { return packages_.contains(name); });
    if (!changed)
        return false;
    packages_ = std::move(packages);
    owners_.clear();
    for (auto it = packages_.constBegin(); it != packages_.constEnd(); ++it)
        for (const QString& path : it->paths)
            owners_.insert(path, it.key());
    return true;
}

std::optional<QString> PacmanDatabase::versionOwning(const QStringList& paths) {
    QMutexLocker lock(&mutex_);
    for (const QString& path : paths)
        if (auto owner = owners_.constFind(path); owner != owners_.constEnd())
            return packages_.value(*owner).version;
    return std::nullopt;
}

} // namespace platform::linux_
