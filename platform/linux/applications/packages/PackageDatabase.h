// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace platform::linux_ {

// One system package database, read in process (never by running its tools).
class PackageDatabase {
public:
    virtual ~PackageDatabase() = default;
    // Looks whether the database files changed and reads them again if so; true when they had.
    virtual bool refresh() = 0;
    // The full version of the installed package that owns the first of `paths` that one owns,
    // as of the last refresh. Paths are absolute as the packages list them (below the root).
    virtual std::optional<QString> versionOwning(const QStringList& paths) = 0;
};

// Inode, size and times of each file, so a rewritten or replaced database file changes it.
QByteArray fileStamp(const QStringList& files);

// Whether the package manager's file list line is worth remembering for owner lookups: desktop
// entries and programs, the only files a browser is looked up by.
bool isLookupPath(QByteArrayView path);

} // namespace platform::linux_
