// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace platform {

// What the current keyboard layout prints on a key, and the mapping between the platform's
// native key codes and Carbon virtual key codes (which name physical positions).
class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // The text the current layout gives for the key without modifiers; none when there is no layout
    // or the key cannot be translated (an empty text is a valid result).
    virtual std::optional<QString> characterForKey(std::uint16_t carbonKeyCode) = 0;
    // The Carbon key code of a native key code (e.g. an X keycode); none when the key has no Carbon code.
    virtual std::optional<std::int64_t> carbonKeyCode(std::uint32_t nativeKeyCode) = 0;
};

} // namespace platform
