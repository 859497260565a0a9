#pragma once

#include "PackageDatabase.h"

#include <QHash>
#include <QMutex>

namespace platform::linux_ {

// dpkg's database: owners from info/*.list, versions of installed packages from status.
// Read only when asked, and then the likely owner's list first (a package is usually named after
// its desktop entry or program), since reading every list costs tens of milliseconds. Kept in
// memory until status or the info folder changes; then only changed lists are read again.
class DpkgDatabase : public PackageDatabase {
public:
    explicit DpkgDatabase(const QString& root);
    bool refresh() override;
    std::optional<QString> versionOwning(const QStringList& paths) override;

private:
    void readStatusLocked();
    void readListsLocked();
    std::optional<QString> likelyOwnerLocked(const QString& path);
    std::optional<QString> versionOfLocked(const QString& package) const;

    QString dir_;
    QMutex mutex_;
    QByteArray stamp_;
    QByteArray statusStamp_;
    bool statusRead_ = false;
    bool listsRead_ = false;
    struct List {
        QByteArray stamp;
        QStringList paths;
    };
    QHash<QString, List> lists_;       // package ("name" or "name:arch") → its lookup paths
    QHash<QString, QString> owners_;   // path → package
    QHash<QString, QString> versions_; // "name" and "name:arch" → version of the installed package
    QHash<QString, QString> archs_;    // name → architecture of the installed package
};

} // namespace platform::linux_
