// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/HandlerService.h"
#include "platform/WebDefaults.h"
#include "platform/linux/applications/DesktopEntryIndex.h"
#include "platform/linux/applications/profiles/BrowserProfiles.h"
#include "platform/linux/defaults/stores/DefaultStoreWriter.h"
#include "platform/linux/xdg/AtomicFile.h"

#include <mutex>
#include <thread>
#include <unordered_map>

namespace platform::linux_ {

// Makes an installed application the web-link handler in every store a desktop keeps its default
// in (the user's mimeapps.list, the desktop-specific lists, KDE's and XFCE's own settings), keeping
// every unrelated byte, replacing each file in one step, and checking the result as each store's
// readers read it. On any failure every file is put back as it was.
class MimeAppsHandlerService : public HandlerService, public WebDefaults {
public:
    // With `profiles`, a browser profile can be chosen too: its entry is written with the switch,
    // and the entries of profiles no longer chosen go with the next web switch.
    explicit MimeAppsHandlerService(
        std::shared_ptr<DesktopEntryIndex> index = std::make_shared<DesktopEntryIndex>(),
        std::shared_ptr<BrowserProfiles> profiles = nullptr);
    ~MimeAppsHandlerService() override;

    int setDefaultHandlerForURLScheme(const QString& scheme, const QString& bundleId) override;
    int setDefaultHandlerForURLScheme(const QString& scheme, const QString& bundleId,
                                      const QUrl& application) override;
    std::optional<QString> defaultHandlerForURLScheme(const QString& scheme) override;
    // Makes the application the handler of web pages (text/html, XHTML) where it opens them, and
    // of nothing else: links stay with their handler.
    int setDefaultHandlerForWebPages(const QString& bundleId, const QUrl& application);
    // This and lastSwitchedId() tell of the last call made on the calling thread: one service
    // answers every thread (the picker asks from the pool), and each caller reads its own call's.
    QString failureReason() const override;

    std::unique_ptr<Hold> hold() override;
    std::optional<QString> handlerOf(const QString& type) override;
    bool opensLinks(const QString& id) override;
    bool routerCurrent(const QString& program, const QString& browser) override;
    std::optional<QString> commandOf(const QString& id) override;
    int apply(const Step& step, QString* resolvedId) override;

    // The desktop-file ID the last switch that found its application resolved to.
    QString lastSwitchedId() const;

    // Serialises switchers (also in other processes) so none loses another's entries.
    static QString lockFilePath();
    // The switch being written, kept until it stands, so that a run killed half-way is undone by
    // the next one.
    static QString journalPath();

protected:
    // Writes one file; a test can make a particular write fail.
    virtual bool replaceFile(const QString& path, const QByteArray& content, QString* error);

private:
    // Undoes a switch a killed run left half-written; needs the lock.
    static void finishInterruptedSwitch();
    int fail(int status, const QString& reason);
    // What a step writes besides the switch: its files, and an entry that the step itself makes.
    struct Extra {
        std::function<QList<std::pair<QString, QByteArray>>(const QString& resolvedId)> files;
        // Plans the handler's entry and script, falling back to the resolved browser.
        std::function<bool(const QString& resolvedId, FilePlan& plan)> router;
        std::optional<InstalledEntry> plannedEntry;
    };
    // With `extra`, the caller holds the lock.
    int switchHandler(const QString& scheme, const QString& bundleId, const QUrl& application, bool pagesOnly,
                      const Extra* extra = nullptr);
    // A profile's entry and the script it runs.
    bool planProfileEntry(const ProfileChoice& profile, FilePlan& plan);
    // The installed entry `id` names (with or without ".desktop"), a chosen profile's included;
    // `profile` says which it is.
    std::shared_ptr<const DesktopEntry> entryWithId(const QString& id, bool* profile);
    // Writes `plan` with its journal; the caller defers end requests and commits.
    bool writePlan(FilePlan& plan, QString* error);
    bool planExtra(const Extra& extra, const QString& resolvedId, FilePlan& plan);
    int writeFilesOnly(const Extra& extra, const QString& resolvedId);
    // Plans the removal of the profile entries Tolvane wrote earlier that no list names as a web
    // default once `plan` is written or whose profile is gone, but for `keep`'s.
    bool planStaleProfileEntries(const QString& keep, FilePlan& plan);

    std::shared_ptr<DesktopEntryIndex> index_;
    std::shared_ptr<BrowserProfiles> profiles_;
    std::vector<std::unique_ptr<DefaultStoreWriter>> stores_;

    struct Outcome {
        QString failureReason;
        QString lastSwitchedId;
    };
    void setFailureReason(const QString& reason);
    void setLastSwitchedId(const QString& id);
    // Held for a lookup only, never across a call.
    mutable std::mutex outcomesMutex_;
    std::unordered_map<std::thread::id, Outcome> outcomes_; // by calling thread
};

} // namespace platform::linux_
