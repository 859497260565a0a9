#pragma once

namespace platform::linux_ {

// Installs the real adapters of the global-shortcut ports (hot keys, key layout, desktop bindings).
// Call after the QApplication exists. On X11: key grabs; elsewhere the desktop's GlobalShortcuts
// portal; with neither every registration fails with one log line.
void installGlobalKeysAdapters();

} // namespace platform::linux_
