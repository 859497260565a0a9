// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/core/ListedBrowsers.h"

#include <QString>
#include <QTextStream>

#include <optional>

namespace Tolvane::cli {

// Exit statuses of the command line.
enum ExitStatus { success = 0, failure = 1, usageError = 2 };

// One browser per line in the menu's order: desktop file ID, tab, name, tab, version; or, with
// `json`, one array of objects with id, desktopId, name, version and isDefault.
int listBrowsers(bool json, QTextStream& out);

// The desktop file ID of the https handler; failure with a message when none is set.
int printDefaultBrowser(QTextStream& out, QTextStream& err);

// The one browser `wanted` names (as --set takes it); none, with the candidates on `err`, when it
// names none or several.
std::optional<ListedBrowser> browserNamed(const QString& wanted, QTextStream& err);

// Switches to the one browser `wanted` names, through the same switch as the tray menu.
int setDefaultBrowser(const QString& wanted, QTextStream& err);

} // namespace Tolvane::cli
