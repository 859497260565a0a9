// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>

namespace Tolvane {

// Calls `changed` whenever the settings file changes, whoever writes it (the menu, a second
// window, a script). Lives as long as `parent`.
void watchSettingsFile(QObject* parent, std::function<void()> changed);

} // namespace Tolvane
