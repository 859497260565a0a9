// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PackageDatabase.h"

#include <QHash>
#include <QMutex>

namespace platform::linux_ {

// rpm's database through librpm (its sqlite or Berkeley files under the root), read-only; librpm
// is loaded the first time a database is asked about.
// Answers are kept until the database files change.
class RpmDatabase : public PackageDatabase {
public:
    explicit RpmDatabase(const QString& root);
    bool refresh() override;
    std::optional<QString> versionOwning(const QStringList& paths) override;

private:
    std::optional<QString> query(const QString& dbPath, const QString& path) const;

    QString root_;
    QMutex mutex_;
    QByteArray stamp_;
    QString dbPath_; // below the root; empty when there is no database
    QHash<QString, std::optional<QString>> answers_;
};

} // namespace platform::linux_
