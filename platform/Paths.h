// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {

// $HOME, or when it is unset or empty the user's home folder from the user database.
QString homeDir();
// $XDG_CONFIG_HOME, or ~/.config when unset or not absolute (XDG Base Directory rules).
QString configHome();
// $XDG_DATA_HOME, or ~/.local/share.
QString dataHome();
// $XDG_DATA_DIRS split, or /usr/local/share:/usr/share.
QStringList dataDirs();
// $XDG_CONFIG_DIRS split, or /etc/xdg.
QStringList configDirs();
// Tolvane's own folder under configHome(), where its settings files live.
QString tolvaneConfigDir();

} // namespace platform
