// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <climits>

namespace Tolvane::cli {

// The path of one of the program's private files (the tray program, the command module): beside
// this program in a build, in the private program folder once installed. False when neither has
// it. Plain C, so the launcher needs no C++ library.
bool privateProgramFile(const char* name, char (&path)[PATH_MAX]);

// Replaces this process with the tray program (the menu, the automation service), passing the
// arguments on unchanged. Returns only when that failed, with the exit status to end with.
int execTrayProgram(char** argv);

} // namespace Tolvane::cli
