// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PackageDatabase.h"

#include <QHash>
#include <QMutex>

namespace platform::linux_ {

// pacman's local database: one folder per installed package with its desc and files.
// A package folder's name carries its version, so complete folders are never read again.
class PacmanDatabase : public PackageDatabase {
public:
    explicit PacmanDatabase(const QString& root);
    bool refresh() override;
    std::optional<QString> versionOwning(const QStringList& paths) override;

private:
    QString dir_;
    QMutex mutex_;
    QByteArray stamp_;
    struct Package {
        QString version;
        QStringList paths;
    };
    QHash<QString, Package> packages_; // folder name → package
    QHash<QString, QString> owners_;   // path → folder name
    QStringList pending_;              // folders without a version or a file list yet: read again
};

} // namespace platform::linux_
