// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform::linux_ {

// The portal's identifier of the window the user is acting in, so a desktop's dialog opens over it:
// "x11:" and the window id in hex under X11. Empty when none of our windows has the focus (a start at
// login), and on Wayland, where naming a window to another process takes an xdg-foreign handle that
// Qt 6.4 offers no way to ask for.
QString portalParentWindow();

} // namespace platform::linux_
