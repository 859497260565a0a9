#pragma once

namespace Tolvane::TrayHost {

// True when a tray host runs now (XEmbed system tray or a StatusNotifier host).
bool available();
// True when the host draws exported menus itself (StatusNotifier), so rich rows are not shown.
bool drawsMenuItself();

} // namespace Tolvane::TrayHost
