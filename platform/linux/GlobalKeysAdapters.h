#pragma once

namespace platform::linux_ {

// Installs the real adapters of the global-shortcut ports (hot keys, key layout, desktop bindings).
// Call after the QApplication exists; without X11 every registration fails with one log line.
void installGlobalKeysAdapters();

} // namespace platform::linux_
