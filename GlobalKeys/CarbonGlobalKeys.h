// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GlobalKeys/Shortcut.h"
#include "platform/HotKeyEvents.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace GlobalKeys {

using ShortcutCallback = std::function<void(const Shortcut&)>;

// One registration of a shortcut as a system-wide hot key.
struct HotKey {
    Shortcut shortcut;
    std::int64_t carbonHotKeyId = 0;
    platform::EventHotKeyRef carbonHotKey = 0; // 0 while unregistered (menu open, disabled)
    ShortcutCallback onKeyDown;
    ShortcutCallback onKeyUp;
};

// The process-wide hot-key registry: registers shortcuts through the HotKeyEvents port, installs one
// event handler, and switches between normal, menu-open and disabled modes. Main thread only.
class CarbonGlobalKeys {
public:
    static constexpr std::uint32_t hotKeySignature = platform::fourCharCode("TQHV");
    static inline const char* const menuTrackingRunLoopMode = "NSEventTrackingRunLoopMode";

    enum class Registration {
        registered,  // the hot key is in place
        refused,     // the system said no (another program holds the key): the entry waits, and
                     // every register-all tries it again
        unavailable, // invalid codes, or no working hot-key service: no entry
    };
    static Registration registerHotKey(const Shortcut& shortcut, ShortcutCallback onKeyDown,
                                       ShortcutCallback onKeyUp);
    static void unregisterHotKey(const Shortcut& shortcut);

    static bool isEnabled();
    static void setEnabled(bool enabled);
    static bool isMenuOpen();
    static void setMenuOpen(bool open);

    // Shortcuts the desktop reserves for itself.
    static std::vector<Shortcut> systemShortcuts();
    // True when another program holds the shortcut's key now, so it cannot become a hot key here.
    static bool isHeldByAnotherProgram(const Shortcut& shortcut);
    // Follows the opening and closing of the application's menus; does its work once per process.
    static void installMenuTrackingObservers();

    // The installed handler and its two paths; public so the adapters' behaviour can be checked.
    static platform::OSStatus handleCarbonEvent(const platform::CarbonEvent* event);
    static platform::OSStatus handleHotKeyEvent(const platform::CarbonEvent* event);
    static platform::OSStatus handleRawKeyEvent(const platform::CarbonEvent* event);

    static const std::map<std::int64_t, std::shared_ptr<HotKey>>& hotKeys();
    static std::int64_t lastHotKeyId();
    static bool hasEventHandler();

    static const std::vector<platform::EventTypeSpec> hotKeyEventTypes;
    static const std::vector<platform::EventTypeSpec> rawKeyEventTypes;

private:
    static void updateEventHandler();
    static void registerAll();
    static void unregisterAll();
};

// The desktop's reserved shortcuts (for the recorder's conflict check).
inline std::vector<Shortcut> systemShortcuts() {
    return CarbonGlobalKeys::systemShortcuts();
}

} // namespace GlobalKeys
