// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GlobalKeys/Shortcut.h"

#include <QString>

namespace GlobalKeys {

// A shortcut as the running desktop's own shortcut editors write it: "Ctrl+Alt+B", "Shift+Super+F5";
// KDE writes the Super key "Meta" and puts it first ("Meta+Shift+F5"). The key is the one the current
// layout prints. For what users read; stored values and description() are unchanged.
QString desktopNotation(const Shortcut& shortcut);

} // namespace GlobalKeys
