// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one place that chooses which adapter serves each port. Every kind of start calls what it
// needs once, before any Part code runs.
#include <QStringList>

namespace Tolvane::adapters {

// The command line: applications, their versions (when `versions`), the default handler. Qt Core
// only, no display and no bus.
void installCommandLineAdapters(bool versions);
// The `tolvane` command as entries that start it must name it.
QString tolvaneCommand();
// Runs the browser of a profile entry this program wrote, for `urls`; returns only on failure.
int launchProfile(const QString& entryId, const QStringList& urls);

#if TOLVANE_ADAPTERS_WITH_DISPLAY
// A program with a display (the tray, the bus-started service): the above with icons, alerts and
// notifications.
void installDesktopAdapters();
// Launch at login as an XDG autostart entry.
void installStartAtLoginAdapters();
// The feedback window's system facts and motion preference.
void installFeedbackAdapters();
// Global shortcuts: X key grabs where Qt runs on X11, else the desktop's GlobalShortcuts portal,
// else none, with the reason logged.
void installGlobalKeysAdapters();
#endif

} // namespace Tolvane::adapters
