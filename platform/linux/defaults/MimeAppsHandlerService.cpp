// SPDX-License-Identifier: GPL-3.0-or-later
#include "MimeAppsHandlerService.h"

#include "DeferredSignals.h"
#include "RouterEntry.h"
#include "platform/Paths.h"
#include "platform/linux/applications/BrowserForwarders.h"
#include "platform/linux/applications/profiles/ProfileEntry.h"
#include "platform/linux/defaults/stores/DesktopMimeAppsListsWriter.h"
#include "platform/linux/defaults/stores/KdeGlobalsWriter.h"
#include "platform/linux/defaults/stores/MimeAppsListWriter.h"
#include "platform/linux/defaults/stores/XfceHelpersWriter.h"
#include "platform/linux/xdg/ExecCommandLine.h"
#include "platform/linux/xdg/ExecScript.h"
#include "platform/linux/xdg/KeyFileLines.h"
#include "platform/linux/xdg/MimeAppsLookup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSet>

namespace platform::linux_ {
namespace {

Q_LOGGING_CATEGORY(lcHandlers, "app.tolvane.Tolvane.handlers")

} // namespace

MimeAppsHandlerService::MimeAppsHandlerService(std::shared_ptr<DesktopEntryIndex> index,
                                               std::shared_ptr<BrowserProfiles> profiles)
    : index_(std::move(index)), profiles_(std::move(profiles)) {
    // The user's list first: the stores after it only narrow what it says for some desktops.
    stores_.push_back(std::make_unique<MimeAppsListWriter>());
    stores_.push_back(std::make_unique<DesktopMimeAppsListsWriter>());
    stores_.push_back(std::make_unique<KdeGlobalsWriter>());
    stores_.push_back(std::make_unique<XfceHelpersWriter>());
}

MimeAppsHandlerService::~MimeAppsHandlerService() = default;

QString MimeAppsHandlerService::lockFilePath() {
    return platform::tolvaneConfigDir() + "/mimeapps.list.lock";
}

QString MimeAppsHandlerService::journalPath() {
    return platform::tolvaneConfigDir() + "/mimeapps.list.journal";
}

void MimeAppsHandlerService::finishInterruptedSwitch() {
    FilePlan::recover(journalPath());
}

int MimeAppsHandlerService::fail(int status, const QString& reason) {
    setFailureReason(reason);
    return status;
}

QString MimeAppsHandlerService::failureReason() const {
    const std::lock_guard lock(outcomesMutex_);
    const auto it = outcomes_.find(std::this_thread::get_id());
    return it != outcomes_.end() ? it->second.failureReason : QString();
}

QString MimeAppsHandlerService::lastSwitchedId() const {
    const std::lock_guard lock(outcomesMutex_);
    const auto it = outcomes_.find(std::this_thread::get_id());
    return it != outcomes_.end() ? it->second.lastSwitchedId : QString();
}

void MimeAppsHandlerService::setFailureReason(const QString& reason) {
    const std::lock_guard lock(outcomesMutex_);
    outcomes_[std::this_thread::get_id()].failureReason = reason;
}

void MimeAppsHandlerService::setLastSwitchedId(const QString& id) {
    const std::lock_guard lock(outcomesMutex_);
    outcomes_[std::this_thread::get_id()].lastSwitchedId = id;
}

bool MimeAppsHandlerService::replaceFile(const QString& path, const QByteArray& content, QString* error) {
    return replaceFileAtomically(path, content, error);
}

std::optional<QString> MimeAppsHandlerService::defaultHandlerForURLScheme(const QString& scheme) {
    return handlerOf(QStringLiteral("x-scheme-handler/") + scheme.toLower());
}

std::optional<QString> MimeAppsHandlerService::handlerOf(const QString& type) {
    if (QFileInfo::exists(journalPath())) {
        // A switch was cut short: answer from what is whole again.
        FileLock lock(lockFilePath());
        if (lock.isLocked())
            finishInterruptedSwitch();
    }
    QString passedOver;
    for (const QString& file : mimeAppsListFiles()) {
        if (!readSnapshot(file, &passedOver))
            break; // passed over below; the caller can say which file and why
        passedOver.clear();
    }
    setFailureReason(passedOver);
    // The same reading as xdg-mime and the read-back below: listed IDs that are not installed
    // are passed over.
    QHash<QString, DesktopEntryIndex::Located> byId;
    for (const DesktopEntryIndex::Located& file : index_->locateAll())
        byId.insert(file.id, file);
    const bool web = type == QLatin1String("x-scheme-handler/http") ||
                     type == QLatin1String("x-scheme-handler/https") || type == QLatin1String("text/html") ||
                     type == QLatin1String("application/xhtml+xml");
    // An entry that hands web links to the preferred browser stands for that browser.
    std::optional<BrowserForwarding> via;
    const auto found = defaultApplication(type, [&](const QString& id) {
        auto it = byId.constFind(id);
        const auto usable = it != byId.constEnd() ? index_->usableEntry(*it) : std::nullopt;
        if (!usable)
            return false;
        // A profile's entry outlives the profile by a switch; until then it stands for nothing.
        if (profiles_ && isProfileEntry(*usable->entry) && !profiles_->withId(id))
            return false;
        const auto exec = usable->entry->value(QStringLiteral("Exec"));
        const auto how =
            web && exec ? browserForwarding(unescapeDesktopValue(*exec)) : BrowserForwarding::None;
        if (how == BrowserForwarding::None)
            return true;
        if (!via)
            via = how;
        return false;
    });
    if (via)
        if (auto browser = forwardedBrowser(*via, index_->entries()))
            return browser;
    return found;
}

namespace {

class LockHold : public WebDefaults::Hold {
public:
    explicit LockHold(const QString& path) : lock(path) {}
    FileLock lock;
};

} // namespace

std::unique_ptr<WebDefaults::Hold> MimeAppsHandlerService::hold() {
    auto held = std::make_unique<LockHold>(lockFilePath());
    if (!held->lock.isLocked()) {
        setFailureReason(held->lock.error());
        return nullptr;
    }
    finishInterruptedSwitch();
    return held;
}

std::shared_ptr<const DesktopEntry> MimeAppsHandlerService::entryWithId(const QString& id, bool* profile) {
    const QString name = id.endsWith(QLatin1String(".desktop")) ? id : id + QStringLiteral(".desktop");
    *profile = profiles_ && name.startsWith(QLatin1String("tolvane-profile-"));
    if (*profile) {
        const auto choice = profiles_->withId(name);
        const auto entry = choice ? DesktopEntry::parse(choice->entry) : std::nullopt;
        return entry ? std::make_shared<const DesktopEntry>(*entry) : nullptr;
    }
    for (const DesktopEntryIndex::Located& file : index_->locateAll())
        if (file.id == name)
            if (auto found = index_->usableEntry(file))
                return found->entry;
    return nullptr;
}

bool MimeAppsHandlerService::opensLinks(const QString& id) {
    bool profile = false;
    const auto entry = entryWithId(id, &profile);
    return entry && (profile || (!forwardsToPreferredBrowser(*entry) &&
                                 !entry->value(QStringLiteral("X-Tolvane-Router")) && !runsTolvane(*entry)));
}

bool MimeAppsHandlerService::routerCurrent(const QString& program, const QString& browser) {
    return routerFilesCurrent(program, commandOf(browser).value_or(QString()));
}

std::optional<QString> MimeAppsHandlerService::commandOf(const QString& id) {
    bool profile = false;
    const auto entry = entryWithId(id, &profile);
    return entry ? browserCommand(*entry) : std::nullopt;
}

int MimeAppsHandlerService::apply(const Step& step, QString* resolvedId) {
    setFailureReason(QString());
    Extra extra;
    const bool toRouter = step.links == Step::Links::toRouter;
    // The handler's entry falls back to the browser the step ends with, so it is written with it.
    extra.files = [step, toRouter](const QString& resolved) {
        const QString browser = toRouter ? step.browser : resolved;
        return step.files ? step.files(browser) : QList<std::pair<QString, QByteArray>>();
    };
    if (!step.program.isEmpty())
        extra.router = [this, step, toRouter](const QString& resolved, FilePlan& plan) {
            const QString browser = toRouter ? step.browser : resolved;
            QString error;
            return planRouterFiles(plan, step.program, commandOf(browser).value_or(QString()), &error);
        };
    if (toRouter) {
        auto entry = DesktopEntry::parse(routerEntryText());
        if (!entry)
            return fail(writeFailed, QStringLiteral("the link handler entry cannot be written"));
        extra.plannedEntry =
            InstalledEntry{routerId, routerEntryPath(), std::make_shared<const DesktopEntry>(*entry)};
        if (resolvedId)
            *resolvedId = step.browser;
        return switchHandler(QStringLiteral("https"), routerId.chopped(8), QUrl(), false, &extra);
    }
    if (step.browser.isEmpty())
        return writeFilesOnly(extra, QString());
    // Identifiers come without the suffix; a desktop-file ID is one too.
    const QString bundleId =
        step.browser.endsWith(QLatin1String(".desktop")) ? step.browser.chopped(8) : step.browser;
    const int status = switchHandler(QStringLiteral("https"), bundleId, step.application,
                                     step.links == Step::Links::keep, &extra);
    if (resolvedId)
        *resolvedId = lastSwitchedId();
    return status;
}

bool MimeAppsHandlerService::planProfileEntry(const ProfileChoice& profile, FilePlan& plan) {
    // The entry runs its script; the script runs the browser with the profile's words.
    const auto entry = DesktopEntry::parse(profile.entry);
    const auto command = entry ? browserCommand(*entry) : std::nullopt;
    const QByteArray script = command ? scriptRunning(*command) : QByteArray();
    if (script.isEmpty()) {
        plan.edit(profile.path, false, [](QByteArray&) {}); // leaves its reason in plan.error()
        return false;
    }
    const QString scriptPath = profileScriptPath(profile.id);
    return plan.edit(scriptPath, false, [&](QByteArray& now) { now = script; }) &&
           plan.makeExecutable(scriptPath) &&
           plan.edit(profile.path, false, [&](QByteArray& now) { now = profile.entry; });
}

bool MimeAppsHandlerService::planExtra(const Extra& extra, const QString& resolvedId, FilePlan& plan) {
    QList<std::pair<QString, QByteArray>> files;
    if (extra.files)
        files = extra.files(resolvedId);
    for (const auto& file : files)
        if (!plan.edit(file.first, false, [&file](QByteArray& now) { now = file.second; }))
            return false;
    return !extra.router || extra.router(resolvedId, plan);
}

bool MimeAppsHandlerService::writePlan(FilePlan& plan, QString* error) {
    plan.setJournal(journalPath());
    return plan.write([this](const QString& path, const QByteArray& content,
                             QString* why) { return replaceFile(path, content, why); },
                      error);
}

int MimeAppsHandlerService::writeFilesOnly(const Extra& extra, const QString& resolvedId) {
    FilePlan plan;
    if (!planExtra(extra, resolvedId, plan))
        return fail(writeFailed, plan.error());
    DeferredSignals holdEndRequests;
    QString error;
    if (!writePlan(plan, &error))
        return fail(writeFailed, error);
    plan.commit();
    return noErr;
}

int MimeAppsHandlerService::setDefaultHandlerForURLScheme(const QString& scheme, const QString& bundleId) {
    return setDefaultHandlerForURLScheme(scheme, bundleId, QUrl());
}

int MimeAppsHandlerService::setDefaultHandlerForURLScheme(const QString& scheme, const QString& bundleId,
                                                          const QUrl& application) {
    return switchHandler(scheme, bundleId, application, false);
}

int MimeAppsHandlerService::setDefaultHandlerForWebPages(const QString& bundleId, const QUrl& application) {
    return switchHandler(QStringLiteral("https"), bundleId, application, true);
}

int MimeAppsHandlerService::switchHandler(const QString& scheme, const QString& bundleId,
                                          const QUrl& application, bool pagesOnly, const Extra* extra) {
    setFailureReason(QString());
    // Only the files that matter are read: the chosen app and those the read-back meets.
    const QList<DesktopEntryIndex::Located> files = index_->locateAll();
    const QString listedPath = application.isLocalFile() ? application.toLocalFile() : QString();
    QHash<QString, qsizetype> byId;
    std::optional<InstalledEntry> app;
    // A profile's entry is written with the switch: it need not exist yet.
    std::optional<ProfileChoice> profile;
    if (profiles_ && bundleId.startsWith(QLatin1String("tolvane-profile-"), Qt::CaseInsensitive)) {
        if (!listedPath.isEmpty())
            profile = profiles_->atPath(listedPath);
        if (!profile)
            profile = profiles_->withId(bundleId + QStringLiteral(".desktop"));
        if (profile)
            if (auto entry = DesktopEntry::parse(profile->entry))
                app =
                    InstalledEntry{profile->id, profile->path, std::make_shared<const DesktopEntry>(*entry)};
    }
    if (extra && extra->plannedEntry) // written with the switch, like a profile's
        app = extra->plannedEntry;
    bool exact = app.has_value();
    for (qsizetype i = 0; i < files.size(); ++i) {
        byId.insert(files[i].id, i);
        const QString name = files[i].id.chopped(8);
        if (exact || bundleId.isEmpty() || name.toLower() != bundleId.toLower())
            continue;
        // The entry the caller listed wins; else, as identifiers come lower case, an ID spelled
        // exactly so wins over one that only matches when lower-cased.
        const bool listed = !listedPath.isEmpty() && files[i].path == listedPath;
        if (app && name != bundleId && !listed)
            continue;
        // One that hands links to the preferred browser is no browser: chosen, it would call itself.
        if (auto candidate = index_->usableEntry(files[i]);
            candidate && !forwardsToPreferredBrowser(*candidate->entry)) {
            app = candidate;
            exact = listed || (listedPath.isEmpty() && name == bundleId);
        }
    }
    if (!app) {
        qCWarning(lcHandlers) << "no installed application with identifier" << bundleId;
        return applicationNotFound;
    }
    const QString id = app->id;
    setLastSwitchedId(id);

    const QString lower = scheme.toLower();
    QStringList types;
    if (lower == QLatin1String("http") || lower == QLatin1String("https")) {
        if (!pagesOnly)
            types << QStringLiteral("x-scheme-handler/http") << QStringLiteral("x-scheme-handler/https");
        for (const QString& page : {QStringLiteral("text/html"), QStringLiteral("application/xhtml+xml")})
            if (app->entry->declares(page))
                types << page;
    } else {
        types << QStringLiteral("x-scheme-handler/") + lower;
    }

    if (types.isEmpty()) // a browser that opens no pages leaves them where they are
        return extra ? writeFilesOnly(*extra, id) : noErr;

    std::optional<FileLock> lock;
    if (!extra) {
        lock.emplace(lockFilePath());
        if (!lock->isLocked()) {
            qCWarning(lcHandlers) << "cannot take the lock" << lockFilePath();
            return fail(writeFailed, lock->error());
        }
        finishInterruptedSwitch();
    }

    const DefaultSwitch change{
        id,
        app->entry->name().value_or(id),
        app->entry->value(QStringLiteral("Icon")).value_or(QString()),
        unescapeDesktopValue(app->entry->value(QStringLiteral("Exec")).value_or(QString())),
        types,
        types.contains(QStringLiteral("x-scheme-handler/http")),
        [&](const QString& candidate) {
            if ((profile || (extra && extra->plannedEntry)) && candidate == id)
                return true;
            auto it = byId.constFind(candidate);
            return it != byId.constEnd() && index_->usableEntry(files[*it]).has_value();
        }};
    FilePlan plan;
    if (profile && !planProfileEntry(*profile, plan))
        return fail(writeFailed, plan.error());
    // Before the stores: whoever reads the stores after a change finds the caller's files changed too.
    if (extra && !planExtra(*extra, id, plan))
        return fail(writeFailed, plan.error());
    for (const auto& store : stores_)
        if (!store->plan(change, plan))
            return fail(writeFailed, plan.error());
    if (!planStaleProfileEntries(id, plan))
        return fail(writeFailed, plan.error());
    // From the first write until the plan stands or is undone, a request to end waits, and a kill
    // that cannot wait leaves the journal for the next run.
    DeferredSignals holdEndRequests;
    QString error;
    if (!writePlan(plan, &error)) {
        qCWarning(lcHandlers).noquote() << "write failed:" << error;
        return fail(writeFailed, error);
    }
    for (const auto& store : stores_) {
        QString why;
        if (!store->readBack(change, &why)) {
            qCWarning(lcHandlers).noquote() << "read-back shows" << why << "not" << id;
            plan.rollBack();
            return fail(verifyFailed, why);
        }
    }
    plan.commit();
    return noErr;
}

bool MimeAppsHandlerService::planStaleProfileEntries(const QString& keep, FilePlan& plan) {
    const QDir folder(profileEntriesFolder());
    const QStringList names = folder.entryList({QStringLiteral("tolvane-profile-*.desktop")}, QDir::Files);
    if (names.isEmpty())
        return true;
    // A profile that still opens links or pages somewhere keeps its entry.
    QSet<QString> named{keep};
    for (const QString& list : mimeAppsListFiles()) {
        const QByteArray* planned = plan.planned(list);
        const auto snapshot = planned ? std::nullopt : readSnapshot(list);
        const KeyFileLines lines(planned ? *planned : snapshot ? snapshot->content : QByteArray());
        for (const char* type :
             {"x-scheme-handler/http", "x-scheme-handler/https", "text/html", "application/xhtml+xml"})
            named.insert(lines.list(QStringLiteral("Default Applications"), QLatin1String(type)).value(0));
    }
    for (const QString& name : names) {
        if (name == keep || (named.contains(name) && (!profiles_ || profiles_->withId(name))))
            continue;
        // Only entries this program wrote: a file of the user's that happens to share the name stays.
        const auto entry = DesktopEntry::read(folder.filePath(name));
        if (entry && isProfileEntry(*entry) &&
            (!plan.remove(folder.filePath(name)) || !plan.remove(profileScriptPath(name))))
            return false;
    }
    return true;
}

} // namespace platform::linux_
