// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Conversion between Qt's keyboard modifiers and the Carbon modifier bits that shortcuts store.
// Command is Qt's Meta (the Super key), Option is Alt.
#include <QString>
#include <Qt>

#include <cstdint>

namespace GlobalKeys {

inline constexpr std::int64_t cmdKey = 0x100;
inline constexpr std::int64_t shiftKey = 0x200;
inline constexpr std::int64_t optionKey = 0x800;
inline constexpr std::int64_t controlKey = 0x1000;

// Only Command, Shift, Option and Control survive either conversion.
std::int64_t toCarbonModifiers(Qt::KeyboardModifiers modifiers);
Qt::KeyboardModifiers fromCarbonModifiers(std::int64_t carbonModifiers);

// One symbol per modifier present, in the order Control, Option, Shift, Command, then the function
// symbol when `function` is set (Qt has no function modifier of its own).
QString modifierSymbols(Qt::KeyboardModifiers modifiers, bool function = false);

} // namespace GlobalKeys
