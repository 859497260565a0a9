// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace Tolvane::cli {

// What a start of the program is for.
enum class Launch {
    tray,    // the tray menu (no options, or --autostart)
    service, // automation over D-Bus only, as the bus starts it (--service)
    command, // a command-line request: it does its work and exits
};

// Decided before any application object exists, and before any Qt library is loaded: a
// command-line request must not need a display, and a tray start should not pay for the command.
Launch launchFor(int argc, char** argv);

// A word that reads as a web link (http or https, as a browser takes the scheme): given alone,
// such words are opened as --open opens them. Openers that keep only the first word of a
// handler's command (exo 4.20) start it so.
bool isBareWebLink(const char* word);

} // namespace Tolvane::cli
