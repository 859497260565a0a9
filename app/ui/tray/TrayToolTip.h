// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DefaultBrowser.h"

#include <QList>
#include <QString>

namespace Tolvane::TrayToolTip {

// The line under the app's name in the tray icon's tooltip: which browser is the default now,
// looked up among `browsers` (the menu's). Empty when no installed browser is the default.
QString defaultBrowserLine(const QList<DefaultBrowser>& browsers);

} // namespace Tolvane::TrayToolTip
