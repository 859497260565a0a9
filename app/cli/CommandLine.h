#pragma once

#include <QStringList>

#include <optional>

namespace Tolvane::cli {

// What a start of the program is for.
enum class Launch {
    tray,    // the tray menu (no options, or --autostart)
    service, // automation over D-Bus only, as the bus starts it (--service)
    command, // a command-line request: it does its work and exits
};

// Decided before any application object exists: a command-line request must not need a display.
Launch launchFor(int argc, char** argv);

// For a tray or service start: none when the arguments are fine, else the exit status after the
// usage error was printed.
std::optional<int> rejectUnexpectedArguments(const QStringList& arguments);

// Runs a command-line request to its end under a QCoreApplication; returns the exit status.
int runCommand(const QStringList& arguments);

} // namespace Tolvane::cli
