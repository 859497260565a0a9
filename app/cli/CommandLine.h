// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Launch.h"

#include <QStringList>

#include <optional>

namespace Tolvane::cli {

// For a tray or service start: none when the arguments are fine, else the exit status after the
// usage error was printed.
std::optional<int> rejectUnexpectedArguments(const QStringList& arguments);

// Runs a command-line request to its end under a QCoreApplication; returns the exit status.
int runCommand(const QStringList& arguments);

} // namespace Tolvane::cli
