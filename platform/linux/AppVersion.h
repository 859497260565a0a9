#pragma once

#include "DesktopEntryIndex.h"
#include "packages/PackageVersions.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMutex>
#include <QSet>
#include <QString>

#include <optional>

namespace platform::linux_ {

// The version of an installed application, from the best source its package leaves behind.
struct AppVersion {
    QString version;
    std::optional<QString> build;
};

class AppVersionFinder {
public:
    explicit AppVersionFinder(QString snapRoot = QStringLiteral("/snap"),
                              QString packageRoot = QStringLiteral("/"), int packageRecheckMs = 1000);

    // Snap's meta/snap.yaml, else the newest release of the AppStream metainfo (the entry's own
    // data dir, a Flatpak app's files, then `dataDirs`), else X-AppImage-Version, else the
    // distribution package that owns the entry. No build: a snap's revision changes with every
    // refresh and would make the browser look like another one. The entry's Version= key is
    // the format version of the file, not of the app, and is never used.
    std::optional<AppVersion> find(const InstalledEntry& app, const QStringList& dataDirs) const;

    static std::optional<QString> snapYamlVersion(const QByteArray& yaml);
    // The version of the newest <release> (by date or timestamp, else by version order).
    static std::optional<QString> newestRelease(const QByteArray& metainfo);
    // Orders versions the way package managers do: digit runs numerically, the rest by text.
    static int compareVersions(const QString& a, const QString& b);

private:
    // Whether `dir` has a file `name`; folder listings are re-read when the folder changed,
    // checked at most once a second, so listing many apps does not probe many missing files.
    bool listed(const QString& dir, const QString& name) const;
    std::optional<AppVersion> fromSnap(const InstalledEntry& app) const;
    std::optional<AppVersion> fromAppStream(const InstalledEntry& app, const QStringList& dataDirs) const;
    QString snapRoot_;
    PackageVersions packages_;
    struct Listing {
        QElapsedTimer checked;
        qint64 mtimeNs = -1;
        QSet<QString> names;
    };
    mutable QMutex mutex_;
    mutable QHash<QString, Listing> listings_;
};

} // namespace platform::linux_
