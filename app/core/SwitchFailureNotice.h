// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DefaultBrowser.h"
#include "LaunchServices.h"

namespace Tolvane {

// Tells the user through a desktop notification that a switch failed, and why: a tray app's
// printed lines reach nobody. Does nothing where no notification port is installed.
void notifySwitchFailure(const DefaultBrowser& browser, const LaunchServices::Error& error);
// The same notice for a preselected browser that is no longer installed, named as it was stored.
void notifyBrowserGone(const QString& name);
// The name of the browser a stored identifier points at, as Tolvane last listed it; the identifier's
// readable part ("org.foo:2:file:///…" names "org.foo") when it never listed that browser.
QString storedBrowserName(const QString& storedId);

} // namespace Tolvane
