// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace Tolvane::cli {

// Loads the command module (the command line with Qt Core and the adapters) and runs the request
// in it; returns its exit status.
int runCommandModule(int argc, char** argv);

} // namespace Tolvane::cli
