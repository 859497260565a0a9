#pragma once

#include "DefaultBrowser.h"
#include "LaunchServices.h"

namespace Tolvane {

// Tells the user through a desktop notification that a switch failed, and why: a tray app's
// printed lines reach nobody. Does nothing where no notification port is installed.
void notifySwitchFailure(const DefaultBrowser& browser, const LaunchServices::Error& error);

} // namespace Tolvane
