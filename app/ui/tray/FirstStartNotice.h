// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace Tolvane {

// Tolvane opens no window at start, so a new user sees nothing happen. The first time its icon is in
// a tray, a notification says where it went; once shown, never again (also across restarts). Does
// nothing where no notification port is installed, and tries again next time when the desktop could
// not be reached.
void announceTrayOnce();

} // namespace Tolvane
