// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandModule.h"
#include "TrayProgram.h"
#include "app/cli/Launch.h"

// The `tolvane` command. It links no Qt library at all: a tray start becomes the tray program at
// once, and a command-line request loads the command module, which runs on Qt Core alone, so a
// script pays for no display, bus or GUI library.
int main(int argc, char** argv) {
    if (Tolvane::cli::launchFor(argc, argv) != Tolvane::cli::Launch::command)
        return Tolvane::cli::execTrayProgram(argv);
    return Tolvane::cli::runCommandModule(argc, argv);
}
