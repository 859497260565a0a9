// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace platform::linux_ {

// Whether a Wayland compositor or an X server of this session answers, so a start without one
// can choose another platform instead of aborting inside Qt.
bool displayReachable();

} // namespace platform::linux_
