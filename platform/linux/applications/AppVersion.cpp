// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppVersion.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <sys/stat.h>

namespace platform::linux_ {
namespace {

constexpr qint64 maxMetadataSize = 4 * 1024 * 1024;

QByteArray readSmallFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !QFileInfo(file).isFile())
        return {};
    return file.read(maxMetadataSize);
}

QString unquoteYaml(QString value) {
    value = value.trimmed();
    if (!value.isEmpty() && (value.front() == '\'' || value.front() == '"')) {
        const qsizetype end = value.indexOf(value.front(), 1);
        return end > 0 ? value.mid(1, end - 1) : QString();
    }
    const qsizetype comment = value.indexOf(QLatin1String(" #"));
    return (comment >= 0 ? value.left(comment) : value).trimmed();
}

// A printable, single-line version text; anything else is not trusted as a version.
std::optional<QString> sane(const QString& version) {
    const QString trimmed = version.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > 64)
        return std::nullopt;
    for (QChar c : trimmed)
        if (!c.isPrint())
            return std::nullopt;
    return trimmed;
}

} // namespace

AppVersionFinder::AppVersionFinder(QString snapRoot, QString packageRoot, int recheckMs)
    : snapRoot_(std::move(snapRoot)), recheckMs_(recheckMs), packages_(std::move(packageRoot)) {}

std::optional<QString> AppVersionFinder::snapYamlVersion(const QByteArray& yaml) {
    for (const QByteArray& line : yaml.split('\n'))
        if (line.startsWith("version:"))
            return sane(unquoteYaml(QString::fromUtf8(line.mid(8))));
    return std::nullopt;
}

int AppVersionFinder::compareVersions(const QString& a, const QString& b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
        if (i < a.size() && j < b.size() && a[i].isDigit() && b[j].isDigit()) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && a[ei].isDigit())
                ++ei;
            while (ej < b.size() && b[ej].isDigit())
                ++ej;
            QString sa = a.mid(i, ei - i), sb = b.mid(j, ej - j);
            while (sa.size() > 1 && sa.front() == '0')
                sa.remove(0, 1);
            while (sb.size() > 1 && sb.front() == '0')
                sb.remove(0, 1);
            if (sa.size() != sb.size())
                return sa.size() < sb.size() ? -1 : 1;
            if (const int c = sa.compare(sb))
                return c < 0 ? -1 : 1;
            i = ei;
            j = ej;
            continue;
        }
        if (i >= a.size())
            return -1;
        if (j >= b.size())
            return 1;
        if (a[i] != b[j])
            return a[i] < b[j] ? -1 : 1;
        ++i;
        ++j;
    }
    return 0;
}

std::optional<QString> AppVersionFinder::newestRelease(const QByteArray& metainfo) {
    struct Release {
        QString version;
        qint64 time = -1;
    };
    QList<Release> releases;
    QXmlStreamReader xml(metainfo); // no DTDs or external entities are ever loaded
    int depth = 0, releasesDepth = -1;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (xml.name() == QLatin1String("releases") && releasesDepth < 0)
                releasesDepth = depth;
            else if (xml.name() == QLatin1String("release") && releasesDepth == depth - 1) {
                const auto attrs = xml.attributes();
                Release r{attrs.value("version").toString()};
                bool ok = false;
                const qint64 stamp = attrs.value("timestamp").toLongLong(&ok);
                if (ok)
                    r.time = stamp;
                else if (const QDateTime date =
                             QDateTime::fromString(attrs.value("date").toString(), Qt::ISODate);
                         date.isValid())
                    r.time = date.toSecsSinceEpoch();
                if (sane(r.version))
                    releases << r;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth == releasesDepth)
                releasesDepth = -2; // only the first <releases> block counts
            --depth;
        }
    }
    if (releases.isEmpty())
        return std::nullopt;
    const Release* best = &releases.front();
    for (const Release& r : releases) {
        const bool bothDated = r.time >= 0 && best->time >= 0;
        if (bothDated ? r.time > best->time : compareVersions(r.version, best->version) > 0)
            best = &r;
    }
    return sane(best->version);
}

QString AppVersionFinder::snapName(const InstalledEntry& app) {
    // Snap exports "<snap>_<app>.desktop" and names the instance in X-SnapInstanceName.
    QString snap = app.entry->value(QStringLiteral("X-SnapInstanceName")).value_or(QString());
    if (snap.isEmpty() && app.path.contains(QLatin1String("/snapd/desktop/")) && app.id.contains('_'))
        snap = app.id.section('_', 0, 0);
    if (snap.contains('/') || snap.startsWith('.'))
        return {};
    return snap;
}

std::optional<AppVersion> AppVersionFinder::fromSnap(const InstalledEntry& app) const {
    const QString snap = snapName(app);
    if (snap.isEmpty())
        return std::nullopt;
    const QString yaml = snapRoot_ + '/' + snap + QStringLiteral("/current/meta/snap.yaml");
    {
        QMutexLocker lock(&mutex_);
        if (!snapYamls_.contains(snap))
            snapYamls_.insert(snap, QFile::encodeName(yaml));
    }
    auto version = snapYamlVersion(readSmallFile(yaml));
    if (!version)
        return std::nullopt;
    return AppVersion{*version, std::nullopt};
}

bool AppVersionFinder::appendStamp(QByteArray& stamp) const {
    QMutexLocker lock(&mutex_);
    if (sourcesChangedLocked()) {
        answers_.clear();
        ++generation_;
    }
    stamp += QByteArray::number(generation_);
    // A snap refresh points current/ at another revision: another file, another stamp.
    const qint64 now = wallClockNs();
    for (const QByteArray& yaml : std::as_const(snapYamls_)) {
        struct stat st;
        if (stat(yaml.constData(), &st) != 0) {
            stamp += '-';
            continue;
        }
        const FileStamp file = FileStamp::of(st);
        if (!file.settledBefore(now, DesktopEntryIndex::defaultSettleNs))
            return false;
        stamp.append(reinterpret_cast<const char*>(&file), sizeof file);
    }
    return true;
}

namespace {

qint64 folderTime(const QString& dir) {
    struct stat st;
    return stat(QFile::encodeName(dir).constData(), &st) == 0
               ? qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec
               : -1;
}

const char* const folders[] = {"metainfo", "appdata"};

} // namespace

bool AppVersionFinder::listedLocked(const QString& dataDir, const char* folder, const QString& name) const {
    // Keyed by the data dir, so a listing of hundreds of entries builds no paths.
    Listing& listing = listings_[dataDir][folder == folders[0] ? 0 : 1];
    if (!listing.read) {
        listing.read = true;
        const QString dir = dataDir + '/' + QLatin1String(folder);
        listing.mtimeNs = folderTime(dir);
        const QStringList names = listing.mtimeNs < 0 ? QStringList() : QDir(dir).entryList(QDir::Files);
        listing.names = QSet<QString>(names.begin(), names.end());
    }
    return listing.names.contains(name);
}

bool AppVersionFinder::sourcesChangedLocked() const {
    if (checked_.isValid() && checked_.elapsed() < recheckMs_)
        return false;
    checked_.start();
    bool changed = packages_.refresh();
    for (auto it = listings_.begin(); it != listings_.end(); ++it)
        for (int i = 0; i < 2; ++i)
            if (Listing& listing = (*it)[i];
                listing.read && folderTime(it.key() + '/' + QLatin1String(folders[i])) != listing.mtimeNs) {
                listing.read = false; // listed again when next asked
                changed = true;
            }
    return changed;
}

std::optional<AppVersion> AppVersionFinder::fromAppStreamLocked(const InstalledEntry& app,
                                                                const QStringList& dataDirs) const {
    const QString base = app.id.chopped(QStringLiteral(".desktop").size());
    const QString metainfo = base + QStringLiteral(".metainfo.xml"),
                  appdata = base + QStringLiteral(".appdata.xml");
    for (const QString& dir : dataDirs) {
        const std::pair<const char*, const QString&> candidates[] = {
            {folders[0], metainfo}, {folders[0], appdata}, {folders[1], appdata}};
        for (const auto& [folder, name] : candidates) {
            if (!listedLocked(dir, folder, name))
                continue;
            const QByteArray xml = readSmallFile(dir + '/' + QLatin1String(folder) + '/' + name);
            if (xml.isEmpty())
                continue;
            if (auto version = newestRelease(xml))
                return AppVersion{*version, std::nullopt};
        }
    }
    return std::nullopt;
}

std::optional<AppVersion> AppVersionFinder::find(const InstalledEntry& app,
                                                 const QStringList& dataDirs) const {
    // A snap's version is read afresh: its refresh changes no file the rest looks at.
    if (auto v = fromSnap(app))
        return v;
    QMutexLocker lock(&mutex_);
    if (sourcesChangedLocked()) {
        answers_.clear();
        ++generation_;
    }
    if (auto known = answers_.constFind(app.path);
        known != answers_.constEnd() && known->entry == app.entry && known->dataDirs == dataDirs)
        return known->version;
    const auto version = uncachedLocked(app, dataDirs);
    answers_.insert(app.path, Answer{app.entry, dataDirs, version});
    return version;
}

std::optional<AppVersion> AppVersionFinder::uncachedLocked(const InstalledEntry& app,
                                                           const QStringList& dataDirs) const {
    // The data dir the entry was found in first, then the others in priority order.
    QStringList dirs;
    const qsizetype apps = app.path.lastIndexOf(QLatin1String("/applications/"));
    if (apps > 0)
        dirs << app.path.left(apps);
    // A Flatpak export keeps the app's own files (and metainfo) beside the exports folder.
    const qsizetype exports = app.path.lastIndexOf(QLatin1String("/exports/share/applications/"));
    if (exports > 0)
        dirs << app.path.left(exports) + "/app/" + app.id.chopped(8) + "/current/active/files/share";
    for (const QString& dir : dataDirs)
        if (!dirs.contains(dir))
            dirs << dir;
    if (auto v = fromAppStreamLocked(app, dirs))
        return v;
    if (auto v = sane(app.entry->value(QStringLiteral("X-AppImage-Version")).value_or(QString())))
        return AppVersion{*v, std::nullopt};
    if (auto v = packages_.find(app.path, *app.entry))
        if (auto clean = sane(*v))
            return AppVersion{*clean, std::nullopt};
    return std::nullopt;
}

} // namespace platform::linux_
