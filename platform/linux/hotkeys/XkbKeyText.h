// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

struct xkb_keymap;

namespace platform::linux_ {

// Readings of a compiled keymap at the positions Carbon key codes name.

// The text the key prints in `group` without modifiers; none when the keymap has no such key.
// Control characters (Tab, Return, ...) read as an empty text: nothing a key cap shows.
std::optional<QString> keyText(xkb_keymap* keymap, std::uint16_t carbonKeyCode, std::uint32_t group);
// The Carbon key code of an XKB key code; none for keys without one.
std::optional<std::int64_t> carbonKeyCodeOf(xkb_keymap* keymap, std::uint32_t xkbKeyCode);
// The keysym name ("b", "F5", "comma") the key gives in the first group without modifiers.
QString keysymName(xkb_keymap* keymap, std::uint16_t carbonKeyCode);

} // namespace platform::linux_
