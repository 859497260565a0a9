// SPDX-License-Identifier: GPL-3.0-or-later
// Commands that hand a link on to whatever browser the desktop prefers (XFCE's "Web Browser" entry,
// sensible-browser, xdg-open, ...). They are no browser: made the preferred one, they start
// themselves again for every link, forever.
#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace platform::linux_ {

class DesktopEntry;
struct InstalledEntry;

// Where such a command sends the link.
enum class BrowserForwarding {
    None,           // a browser (or anything else) that opens the link itself
    XfcePreferred,  // XFCE's preferred web browser (helpers.rc)
    Alternatives,   // the system's x-www-browser alternative
    DesktopDefault, // the desktop's default handler of the link's type
};

// For a command line as an Exec key holds it (string escapes undone) or as an XFCE helper runs it;
// environment setters and sandboxes around the program are seen through.
BrowserForwarding browserForwarding(const QString& command);
// The entry's Exec forwards to the desktop's preferred browser.
bool forwardsToPreferredBrowser(const DesktopEntry& entry);

// The file name of the script Tolvane's handler entry runs (see defaults/RouterEntry.h).
inline constexpr const char* routerScriptName = "tolvane-links";

// The command is Tolvane's own link handling, under whatever path or entry: never a browser, since
// a browser chosen so would hand every link back to Tolvane. A profile launch is the browser's.
bool runsTolvane(const QString& command);
bool runsTolvane(const DesktopEntry& entry);

// The desktop-file ID of the browser among `installed` that a forwarder hands web links to now;
// none when it cannot be told (the desktop's default may be that forwarder itself).
std::optional<QString> forwardedBrowser(BrowserForwarding how, const QList<InstalledEntry>& installed);

} // namespace platform::linux_
