// SPDX-License-Identifier: GPL-3.0-or-later
#include "Launch.h"

#include <cstring>

namespace Tolvane::cli {

Launch launchFor(int argc, char** argv) {
    bool service = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--service") == 0)
            service = true;
        // Qt's own options have one dash; any other double-dash option is ours to check.
        else if (std::strcmp(arg, "--autostart") != 0 &&
                 (std::strncmp(arg, "--", 2) == 0 || !std::strcmp(arg, "-h") || !std::strcmp(arg, "-v")))
            return Launch::command;
    }
    return service ? Launch::service : Launch::tray;
}

} // namespace Tolvane::cli
