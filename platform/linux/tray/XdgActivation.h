// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace Tolvane::XdgActivation {

// Keeps the activation token a tray host handed over with a click, so that the window the click
// opens may take the focus: a Wayland compositor gives it only to a request carrying a token of
// the user's action. The next window Tolvane activates uses it (Qt takes it from the environment
// and clears it); a newer token replaces an unused one. Nothing to do where no token is needed.
void offer(const QString& token);

} // namespace Tolvane::XdgActivation
