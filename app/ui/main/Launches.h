// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace Tolvane {

// The two kinds of start main() dispatches to; each returns the process's exit status.
int runTray(int argc, char** argv);
int runService(int argc, char** argv);

// Names the application the same way in every kind of start.
void nameApplication();

// After the event loop: requests not yet started are dropped (their callers get no reply), the
// running ones get a moment to finish; the process never waits on them for long.
int finishAfterEventLoop(int code);

} // namespace Tolvane
