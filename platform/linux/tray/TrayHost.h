#pragma once

namespace Tolvane::TrayHost {

// True when a tray for Qt's own icon runs now (an XEmbed system tray).
bool available();

} // namespace Tolvane::TrayHost
