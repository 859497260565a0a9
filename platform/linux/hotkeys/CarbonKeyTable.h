// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform::linux_ {

// One physical key: its Carbon virtual key code, its XKB key name (position) and the keysym a US
// layout gives it, which is how desktop key-binding texts name keys.
struct CarbonKey {
    std::int64_t carbonKeyCode;
    const char* xkbName;
    std::uint32_t usKeysym;
};

std::optional<CarbonKey> carbonKeyByCode(std::int64_t carbonKeyCode);
std::optional<CarbonKey> carbonKeyByXkbName(std::string_view xkbName);
// Case-insensitive for letters.
std::optional<CarbonKey> carbonKeyByKeysym(std::uint32_t keysym);

} // namespace platform::linux_
