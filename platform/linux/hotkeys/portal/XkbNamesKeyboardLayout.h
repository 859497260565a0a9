// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/KeyboardLayout.h"

struct xkb_context;
struct xkb_keymap;

namespace platform::linux_ {

// Key texts and key positions without an X connection (Wayland): a keymap compiled from the
// session's layout names — XKB_DEFAULT_* when set, else the system keyboard configuration
// (/etc/default/keyboard), else xkbcommon's defaults. Native scan codes are XKB key codes on
// X11 and Wayland alike.
class XkbNamesKeyboardLayout : public KeyboardLayout {
public:
    XkbNamesKeyboardLayout() = default;
    ~XkbNamesKeyboardLayout() override;
    XkbNamesKeyboardLayout(const XkbNamesKeyboardLayout&) = delete;
    XkbNamesKeyboardLayout& operator=(const XkbNamesKeyboardLayout&) = delete;

    std::optional<QString> characterForKey(std::uint16_t carbonKeyCode) override;
    std::optional<std::int64_t> carbonKeyCode(std::uint32_t nativeKeyCode) override;
    // The keysym name of the key under this layout ("b"), as desktop shortcut texts spell keys.
    QString keysymName(std::uint16_t carbonKeyCode);

private:
    // Compiled on first use; none when xkbcommon cannot compile the names (logged once).
    xkb_keymap* keymap();

    xkb_context* context_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    bool failed_ = false;
};

} // namespace platform::linux_
