#include "CommandLine.h"
#include "Launches.h"

// Command-line requests run without a display, a bus or the tray; everything else is the tray
// application or, when the bus starts us, the automation service alone.
int main(int argc, char** argv) {
    switch (Tolvane::cli::launchFor(argc, argv)) {
    case Tolvane::cli::Launch::command:
        return Tolvane::runCommandLine(argc, argv);
    case Tolvane::cli::Launch::service:
        return Tolvane::runService(argc, argv);
    case Tolvane::cli::Launch::tray:
        break;
    }
    return Tolvane::runTray(argc, argv);
}
