// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

class QEvent;

namespace GlobalKeys {

// Bit n set = event type n, numbered as the monitors' callers know them.
using EventMask = std::uint64_t;

inline constexpr int leftMouseDownEvent = 1;
inline constexpr int leftMouseUpEvent = 2;
inline constexpr int rightMouseDownEvent = 3;
inline constexpr int rightMouseUpEvent = 4;
inline constexpr int keyDownEvent = 10;
inline constexpr int keyUpEvent = 11;

constexpr EventMask eventMaskBit(int type) {
    return EventMask(1) << type;
}

// The type number of a Qt event, or -1 when it has none.
int eventTypeNumber(const QEvent* event);

} // namespace GlobalKeys
