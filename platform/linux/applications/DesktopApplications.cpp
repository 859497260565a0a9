// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopApplications.h"

#include "BrowserForwarders.h"
#include "platform/linux/applications/profiles/ProfileEntry.h"
#include "platform/linux/xdg/AtomicFile.h"
#include "platform/linux/xdg/ExecLaunch.h"
#include "platform/linux/xdg/KeyFileLines.h"
#include "platform/linux/xdg/MimeAppsLookup.h"

#include <QFile>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <sys/stat.h>

namespace platform::linux_ {

QStringList associatedDesktopIds(const QString& mimeType) {
    QStringList ids;
    for (const QString& path : mimeAppsListFiles()) {
        const auto snapshot = readSnapshot(path); // never waits on a pipe in a list's place
        if (!snapshot || !snapshot->existed)
            continue;
        const KeyFileLines lines(snapshot->content);
        for (const char* group : {"Default Applications", "Added Associations"})
            ids << lines.list(QLatin1String(group), mimeType);
    }
    ids.removeDuplicates();
    return ids;
}

namespace {

std::atomic<quint64> instances{0};

} // namespace

DesktopApplications::DesktopApplications(std::shared_ptr<DesktopEntryIndex> index,
                                         std::shared_ptr<BrowserProfiles> profiles)
    : index_(std::move(index)), profiles_(std::move(profiles)), serial_(++instances) {}

std::shared_ptr<BrowserProfiles> browserProfilesOf(const std::shared_ptr<DesktopEntryIndex>& index) {
    return std::make_shared<BrowserProfiles>([index] { return index->entries(); }, index->settleNs());
}

QString DesktopApplications::entryPathFor(const QString& path) {
    if (profiles_)
        if (auto choice = profiles_->atPath(path))
            return choice->browserPath;
    return path;
}

QByteArray DesktopApplications::stateStamp() {
    const auto generation = index_->generation();
    if (!generation)
        return {};
    QByteArray stamp = QByteArray::number(serial_) + ':' + QByteArray::number(*generation) + ':' +
                       DesktopEntry::messageLocale().toUtf8() + ':' + qgetenv("XDG_CURRENT_DESKTOP");
    const qint64 now = wallClockNs();
    for (const QString& path : mimeAppsListFiles()) {
        struct stat st;
        if (stat(QFile::encodeName(path).constData(), &st) != 0) {
            stamp += '-';
            continue;
        }
        const FileStamp file = FileStamp::of(st);
        if (!file.settledBefore(now, index_->settleNs()))
            return {};
        stamp.append(reinterpret_cast<const char*>(&file), sizeof file);
    }
    if (profiles_) {
        const QByteArray profiles = profiles_->stamp();
        if (profiles.isEmpty())
            return {};
        stamp += ':' + profiles;
    }
    return stamp;
}

QList<QUrl> DesktopApplications::urlsForApplicationsToOpenURL(const QUrl& url) {
    const QString type = QStringLiteral("x-scheme-handler/") + url.scheme().toLower();
    const QStringList associated = associatedDesktopIds(type);
    const QSet<QString> associatedSet(associated.begin(), associated.end());
    const QStringList desktops = DesktopEntry::currentDesktops();
    struct Listed {
        QString key; // the name, case folded
        QString id;
        QString path;
        std::shared_ptr<const DesktopEntry> entry;
    };
    QList<Listed> listed;
    for (const InstalledEntry& e : index_->entries())
        if (e.entry->shownIn(desktops) && (e.entry->declares(type) || associatedSet.contains(e.id)) &&
            !forwardsToPreferredBrowser(*e.entry) && !runsTolvane(*e.entry))
            listed << Listed{e.entry->name().value_or(QString()).toCaseFolded(), e.id, e.path, e.entry};
    // The same order everywhere and at every call; the default's recency plays no part.
    std::sort(listed.begin(), listed.end(),
              [](const Listed& a, const Listed& b) { return a.key != b.key ? a.key < b.key : a.id < b.id; });
    const bool web =
        type == QLatin1String("x-scheme-handler/http") || type == QLatin1String("x-scheme-handler/https");
    QList<QUrl> urls;
    urls.reserve(listed.size());
    for (const Listed& l : listed) {
        urls << QUrl::fromLocalFile(l.path);
        // A browser's profiles follow it, each a choice of its own.
        if (web && profiles_)
            for (const ProfileChoice& choice : profiles_->of(InstalledEntry{l.id, l.path, l.entry}))
                urls << QUrl::fromLocalFile(choice.path);
    }
    return urls;
}

AppIcon DesktopApplications::iconForFile(const QString&) {
    return {};
}

bool DesktopApplications::openURL(const QUrl&) {
    return false;
}

namespace {

// The command that opens links in `entry` itself: none for one that hands them back to the desktop's
// preferred browser or to Tolvane's own link handler, which would start itself again for every link.
std::optional<DesktopApplications::Command> ownCommand(const DesktopEntry& entry, const QString& path) {
    if (forwardsToPreferredBrowser(entry) || entry.value(QStringLiteral("X-Tolvane-Router")) ||
        runsTolvane(entry))
        return std::nullopt;
    const auto command = browserCommand(entry);
    if (!command)
        return std::nullopt;
    return DesktopApplications::Command{*command, execEntryFacts(entry, path)};
}

} // namespace

std::optional<DesktopApplications::Command> DesktopApplications::commandAt(const QString& path) {
    if (profiles_)
        if (auto choice = profiles_->atPath(path))
            if (auto entry = DesktopEntry::parse(choice->entry))
                return ownCommand(*entry, choice->path);
    if (auto found = index_->entryAtPath(path))
        return ownCommand(*found->entry, found->path);
    return std::nullopt;
}

std::optional<DesktopApplications::Command> DesktopApplications::commandWithId(const QString& bundleId) {
    const QString id = bundleId.endsWith(QLatin1String(".desktop")) ? bundleId : bundleId + ".desktop";
    if (profiles_ && id.startsWith(QLatin1String("tolvane-profile-")))
        if (auto choice = profiles_->withId(id))
            if (auto entry = DesktopEntry::parse(choice->entry))
                return ownCommand(*entry, choice->path);
    for (const DesktopEntryIndex::Located& file : index_->locateAll())
        if (file.id == id)
            if (auto found = index_->usableEntry(file))
                return ownCommand(*found->entry, found->path);
    return std::nullopt;
}

bool DesktopApplications::openURLsWithApplication(const QStringList& urls, const QUrl& application) {
    const auto command = application.isLocalFile() ? commandAt(application.toLocalFile()) : std::nullopt;
    QString error;
    return command && startRuns(commandRuns(command->exec, urls, command->facts, &error),
                                browserEnvironment(QProcessEnvironment::systemEnvironment()), &error);
}

bool DesktopApplications::openURLsWithBundleIdentifier(const QStringList& urls, const QString& bundleId,
                                                       bool inPlace, QString* error) {
    const auto command = commandWithId(bundleId);
    if (!command) {
        *error =
            QStringLiteral("no installed application called \u201c%1\u201d opens links itself").arg(bundleId);
        return false;
    }
    const QList<QStringList> runs = commandRuns(command->exec, urls, command->facts, error);
    if (runs.isEmpty())
        return false;
    if (inPlace)
        return execRuns(runs, error);
    return startRuns(runs, browserEnvironment(QProcessEnvironment::systemEnvironment()), error);
}

} // namespace platform::linux_
