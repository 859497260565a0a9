// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/xdg/ExecCommandLine.h"

#include "DesktopEntryIndex.h"
#include "platform/Workspace.h"
#include "platform/linux/applications/profiles/BrowserProfiles.h"

namespace platform::linux_ {

// Installed applications as desktop entries, for a process that draws nothing: no icons, and
// nothing is opened. DesktopWorkspace adds both where there is a display.
class DesktopApplications : public Workspace {
public:
    // With `profiles`, the profiles users made in a browser follow it in the web-link listing.
    explicit DesktopApplications(
        std::shared_ptr<DesktopEntryIndex> index = std::make_shared<DesktopEntryIndex>(),
        std::shared_ptr<BrowserProfiles> profiles = nullptr);

    // Entries that declare the URL's scheme handler type or that a mimeapps.list associates with it
    // (as default or added association), by name as the desktops' own settings list them, so the
    // order stays put when the default changes; entries the current desktop hides (NoDisplay,
    // OnlyShowIn/NotShowIn, TryExec) are left out, and so are those that only hand the link on to
    // the preferred browser.
    QList<QUrl> urlsForApplicationsToOpenURL(const QUrl& url) override;
    AppIcon iconForFile(const QString& path) override;
    // Stats the entry files and the mimeapps lists; reads nothing when none changed.
    QByteArray stateStamp() override;
    bool openURL(const QUrl& url) override;
    // The entry's command, expanded without a shell; a profile runs its browser with its argument.
    bool openURLsWithApplication(const QStringList& urls, const QUrl& application) override;
    // `bundleId` is a desktop-file ID, with or without ".desktop".
    bool openURLsWithBundleIdentifier(const QStringList& urls, const QString& bundleId, bool inPlace,
                                      QString* error) override;

    // The command that opens links in an entry, string escapes undone, and what its %i, %c and %k
    // stand for.
    struct Command {
        QString exec;
        ExecEntryFacts facts;
    };

protected:
    // The command of what is listed at `path`, or has ID `id`.
    std::optional<Command> commandAt(const QString& path);
    std::optional<Command> commandWithId(const QString& id);
    // The file whose entry stands for what is listed at `path`: a profile's is its browser's.
    QString entryPathFor(const QString& path);

    std::shared_ptr<DesktopEntryIndex> index_;
    std::shared_ptr<BrowserProfiles> profiles_;

private:
    const quint64 serial_; // two instances never share a stamp
};

// Profiles of the browsers that `index` lists, sharing its parsed entries.
std::shared_ptr<BrowserProfiles> browserProfilesOf(const std::shared_ptr<DesktopEntryIndex>& index);

// The desktop-file IDs the mimeapps lists name for `mimeType` as default or added association.
QStringList associatedDesktopIds(const QString& mimeType);

} // namespace platform::linux_
