#pragma once

#include "PackageDatabase.h"

#include <QHash>
#include <QMutex>

namespace platform::linux_ {

// dpkg's database: owners from info/*.list, versions of installed packages from status.
// Kept in memory until status or the info folder changes; then only changed lists are read again.
class DpkgDatabase : public PackageDatabase {
public:
    explicit DpkgDatabase(const QString& root);
    bool refresh() override;
    std::optional<QString> versionOwning(const QStringList& paths) override;

private:
    void readStatusLocked();
    void readListsLocked();

    QString dir_;
    QMutex mutex_;
    QByteArray stamp_;
    QByteArray statusStamp_;
    struct List {
        QByteArray stamp;
        QStringList paths;
    };
    QHash<QString, List> lists_;       // package ("name" or "name:arch") → its lookup paths
    QHash<QString, QString> owners_;   // path → package
    QHash<QString, QString> versions_; // "name" and "name:arch" → version of the installed package
};

} // namespace platform::linux_
