// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace Tolvane {

// Presses the "Use …" button of the system's prompt after a handler change.
extern const QString confirmScriptSource;

// Runs confirmScriptSource and prints its progress; called on a background thread.
void runConfirmScript();

} // namespace Tolvane
