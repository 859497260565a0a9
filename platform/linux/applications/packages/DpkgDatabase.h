// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PackageDatabase.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QMutex>

namespace platform::linux_ {

// dpkg's database: owners from info/*.list, versions of installed packages from status.
// Reading every list costs tens of milliseconds, so it never happens: the owner is looked for
// among the packages named after the file ("firefox-esr" for firefox-esr.desktop, "epiphany-browser"
// for org.gnome.Epiphany.desktop), then among the few whose list was written when the file was
// (dpkg writes a package's list as it puts its files in place; desktop entries only). status is
// searched for the names and the one package found, never parsed whole. Everything is read only when asked
// and kept until status or the info folder changes.
class DpkgDatabase : public PackageDatabase {
public:
    explicit DpkgDatabase(const QString& root);
    bool refresh() override;
    std::optional<QString> versionOwning(const QStringList& paths) override;

private:
    void readStatusLocked();
    void readListNamesLocked();
    void readListTimesLocked();
    bool listHoldsLocked(const QString& list, const QString& path) const;
    std::optional<QString> namedOwnerLocked(const QString& path);
    std::optional<QString> ownerWrittenWithLocked(const QString& path, const QString& onDisk);
    std::optional<QString> versionOfLocked(const QString& list);

    QString dir_;
    QMutex mutex_;
    QByteArray stamp_;
    bool listsNamed_ = false;
    QStringList lists_; // "name" or "name:arch", as the lists are named
    bool listTimesRead_ = false;
    QList<qint64> listTimes_; // change time of each of lists_, nanoseconds
    bool statusRead_ = false;
    QByteArray status_;
    QMap<QByteArray, qsizetype> packageAt_; // name → where status has its (first) paragraph
};

} // namespace platform::linux_
