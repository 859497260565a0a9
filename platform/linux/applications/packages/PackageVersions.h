// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PackageDatabase.h"
#include "platform/linux/xdg/DesktopEntry.h"

#include <QMutex>

#include <memory>
#include <vector>

namespace platform::linux_ {

// The version of the distribution package behind a desktop entry: dpkg, then rpm (when built
// with librpm), then pacman. Every database lives below `root`, and so do the files asked about.
// Keeps no answers: whoever keeps them asks refresh() when to forget them.
class PackageVersions {
public:
    explicit PackageVersions(QString root = QStringLiteral("/"));
    ~PackageVersions();

    // Looks whether any database changed (and takes in the change); true when one did.
    bool refresh();

    // The upstream version of the package that owns the entry's file or, failing that, the
    // program its Exec line starts, past env and sandboxes (launchers such as flatpak excepted).
    std::optional<QString> find(const QString& entryPath, const DesktopEntry& entry);

    // A package version without epoch and without the packager's revision:
    // "1:153.8.0esr-1~deb12u1" → "153.8.0esr".
    static QString upstreamVersion(const QString& packageVersion);

private:
    // `path` as the databases list it (below the root), with its merged-/usr twin.
    QStringList namesOf(const QString& path) const;
    // The program file the entry's Exec line starts; empty for launchers and unknown programs.
    QString programPath(const DesktopEntry& entry) const;
    std::optional<QString> ownerVersion(const QString& path) const;

    QString root_; // without a trailing slash; empty for the system itself
    std::vector<std::unique_ptr<PackageDatabase>> databases_;
    mutable QMutex mutex_;
    bool refreshed_ = false;
};

} // namespace platform::linux_
