// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace GlobalKeys::testing {

// Empties the handler and stream tables, the registered set and the hot-key registry (ids go on
// counting), and clears isPaused. For tests, which share one process-wide state.
void resetState();

} // namespace GlobalKeys::testing
