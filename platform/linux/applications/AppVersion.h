// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DesktopEntryIndex.h"
#include "platform/linux/applications/packages/PackageVersions.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMutex>
#include <QSet>
#include <QString>

#include <array>
#include <optional>

namespace platform::linux_ {

// The version of an installed application, from the best source its package leaves behind.
struct AppVersion {
    QString version;
    std::optional<QString> build;
};

class AppVersionFinder {
public:
    // Answers are kept until a source changes: whether a package database or a metainfo folder
    // changed is looked at most every `recheckMs`, so a listing of hundreds of entries costs no
    // file system calls per entry.
    explicit AppVersionFinder(QString snapRoot = QStringLiteral("/snap"),
                              QString packageRoot = QStringLiteral("/"), int recheckMs = 1000);

    // Snap's meta/snap.yaml, else the newest release of the AppStream metainfo (the entry's own
    // data dir, a Flatpak app's files, then `dataDirs`), else X-AppImage-Version, else the
    // distribution package that owns the entry. No build: a snap's revision changes with every
    // refresh and would make the browser look like another one. The entry's Version= key is
    // the format version of the file, not of the app, and is never used.
    std::optional<AppVersion> find(const InstalledEntry& app, const QStringList& dataDirs) const;

    // Appends what find()'s answers depend on beyond the entry files: the version sources' state
    // (looked at most every recheckMs) and each snap asked about; false when a snap changed too
    // recently for its times to show the next change.
    bool appendStamp(QByteArray& stamp) const;

    static std::optional<QString> snapYamlVersion(const QByteArray& yaml);
    // The version of the newest <release> (by date or timestamp, else by version order).
    static std::optional<QString> newestRelease(const QByteArray& metainfo);
    // Orders versions the way package managers do: digit runs numerically, the rest by text.
    static int compareVersions(const QString& a, const QString& b);

private:
    // Whether `dataDir`/`folder` has a file `name`, from a listing of the folder.
    bool listedLocked(const QString& dataDir, const char* folder, const QString& name) const;
    // Whether any source changed since the answers were kept; looked at most every recheckMs.
    bool sourcesChangedLocked() const;
    // The snap that installed the entry; empty when none did.
    static QString snapName(const InstalledEntry& app);
    std::optional<AppVersion> fromSnap(const InstalledEntry& app) const;
    std::optional<AppVersion> fromAppStreamLocked(const InstalledEntry& app,
                                                  const QStringList& dataDirs) const;
    std::optional<AppVersion> uncachedLocked(const InstalledEntry& app, const QStringList& dataDirs) const;

    QString snapRoot_;
    int recheckMs_;
    mutable PackageVersions packages_;
    struct Listing {
        bool read = false;
        qint64 mtimeNs = -1;
        QSet<QString> names;
    };
    struct Answer {
        std::shared_ptr<const DesktopEntry> entry; // the answer holds while the file is unchanged
        QStringList dataDirs;
        std::optional<AppVersion> version;
    };
    mutable QMutex mutex_;
    mutable QElapsedTimer checked_;
    mutable QHash<QString, std::array<Listing, 2>> listings_; // data dir → metainfo/, appdata/
    mutable QHash<QString, Answer> answers_;                  // entry path → answer
    mutable quint64 generation_ = 0;                          // counts the source changes seen
    mutable QHash<QString, QByteArray> snapYamls_;            // snap → its snap.yaml path, encoded
};

} // namespace platform::linux_
