// SPDX-License-Identifier: GPL-3.0-or-later
// A request to end (SIGTERM at log-out, SIGHUP, SIGINT) ends the event loop like Quit does, so that
// what waits on the way out (links a picker holds) is handed over instead of lost with the process.
#pragma once

class QObject;

namespace Tolvane {

// Call once the application object exists.
void quitOnEndRequests(QObject* parent);

} // namespace Tolvane
