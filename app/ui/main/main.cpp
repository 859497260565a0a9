// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"
#include "Launches.h"

#include <cstdio>

// The tray application or, when the bus starts us, the automation service alone. Command-line
// requests are the `tolvane` command's: it never hands them here.
int main(int argc, char** argv) {
    switch (Tolvane::cli::launchFor(argc, argv)) {
    case Tolvane::cli::Launch::command:
        std::fputs("tolvane-tray: command-line requests are served by the tolvane command\n", stderr);
        return 2;
    case Tolvane::cli::Launch::service:
        return Tolvane::runService(argc, argv);
    case Tolvane::cli::Launch::tray:
        break;
    }
    return Tolvane::runTray(argc, argv);
}
