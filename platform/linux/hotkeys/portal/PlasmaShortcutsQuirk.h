// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PortalShortcut.h"

#include <QString>
#include <QVariantMap>

namespace platform::linux_::plasmaShortcutsQuirk {

// Plasma's portal back end before 6.1 (xdg-desktop-portal-kde 5.27 and 6.0) registers a session's
// shortcuts only from a "shortcuts" entry in CreateSession's options, in BindShortcuts' a(sa{sv}) form.
// Its BindShortcuts ignores the list it is given, answers with what the session already holds and
// opens System Settings' shortcuts page. So the set goes with CreateSession too: where the answer
// already lists it, it is bound and BindShortcuts is not called (it would open System Settings at
// every start); elsewhere the option is ignored and BindShortcuts binds as documented.
void offerAtCreateSession(QVariantMap& options, const PortalShortcuts& shortcuts);

// Later back ends (seen with 6.3) take a group's known shortcuts in when a session opens (the desktop
// keeps them), yet open System Settings' shortcuts page on every BindShortcuts, known group or not. So on
// Plasma the session's list is asked for first: where it already holds the whole set, the set is bound
// and BindShortcuts is not called. Elsewhere a session is bound as documented.
bool listBeforeBinding();

// The back end names its shortcut group after the app id plus the session's handle token; a host app
// has no app id on older portals, so the token alone is the group the user sees in the desktop's
// settings. A fixed, readable token keeps that group, and the user's changes in it, across restarts.
inline const QString sessionHandleToken = QStringLiteral("Tolvane");

} // namespace platform::linux_::plasmaShortcutsQuirk
