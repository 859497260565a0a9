// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace Tolvane::cli {

// Makes the command line speak the user's language where Tolvane is translated into it. English
// and the C locale load nothing, so the common case costs nothing.
void installCommandLineTranslation();

} // namespace Tolvane::cli
