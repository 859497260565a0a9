// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace TaskButtons {

// What the overlay style draws over a running button that reports a fraction.
enum class ProgressStyle { bar = 0, percent = 1 };

} // namespace TaskButtons
