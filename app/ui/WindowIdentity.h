// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace Tolvane {

// How the desktop tells the application's windows apart: their icon, the class that taskbars match
// with the desktop entry, and their role for screen readers. Call once the application exists and
// before its first window.
void identifyWindows();

// Qt describes a window made from a plain QWidget as a "filler" to screen readers, which then do not
// announce it as a window. This makes such windows of the application frames, named by their titles.
// Does its work once per process.
void describeWindowsAsFrames();

} // namespace Tolvane
