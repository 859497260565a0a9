#pragma once

#include "PackageDatabase.h"

#include <QHash>
#include <QList>
#include <QMutex>

namespace platform::linux_ {

// dpkg's database: versions of installed packages from status, owners from info/*.list.
// Reading every list costs tens of milliseconds, so it never happens: the owner is looked for
// among the packages named after the file ("firefox-esr" for firefox-esr.desktop, "epiphany-browser"
// for org.gnome.Epiphany.desktop), then among the few whose list was written when the file was
// (dpkg writes a package's list as it puts its files in place). Read only when asked; kept until
// status or the info folder changes.
class DpkgDatabase : public PackageDatabase {
public:
    explicit DpkgDatabase(const QString& root);
    bool refresh() override;
    std::optional<QString> versionOwning(const QStringList& paths) override;

private:
    void readStatusLocked();
    void readListTimesLocked();
    bool listHoldsLocked(const QString& package, const QString& path) const;
    std::optional<QString> namedOwnerLocked(const QString& path) const;
    std::optional<QString> ownerWrittenWithLocked(const QString& path, const QString& onDisk);
    std::optional<QString> versionOfLocked(const QString& package) const;

    QString dir_;
    QMutex mutex_;
    QByteArray stamp_;
    QByteArray statusStamp_;
    bool statusRead_ = false;
    QHash<QString, QString> versions_; // "name" and "name:arch" → version of the installed package
    QHash<QString, QString> archs_;    // name → architecture of the installed package
    struct ListTime {
        QString package; // as the list is named: "name" or "name:arch"
        qint64 changed;  // seconds
    };
    bool listTimesRead_ = false;
    QList<ListTime> listTimes_;
};

} // namespace platform::linux_
