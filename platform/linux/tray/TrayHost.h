// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace Tolvane::TrayHost {

// True when an XEmbed system tray runs now, the only kind Qt's own icon is meant for. Asked of the
// X server itself: a platform theme may back Qt's icon with a StatusNotifier item of its own, and
// then Qt calls any StatusNotifier watcher a tray.
bool available();

} // namespace Tolvane::TrayHost
