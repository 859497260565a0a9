// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/ButtonTask.h"

#include <optional>

namespace TaskButtons {

// How the task values that buttons report to their ancestors combine: absent by default, and the latest
// report replaces any earlier one.
struct AsyncButtonTaskPreferenceKey {
    using Value = std::optional<ButtonTask>;
    static Value defaultValue() { return std::nullopt; }
    static void reduce(Value& value, const Value& next) { value = next; }
};

} // namespace TaskButtons
