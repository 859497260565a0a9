#pragma once

namespace Tolvane::cli {

// Replaces this process with the tray program (the menu, the automation service), passing the
// arguments on unchanged. Returns only when that failed, with the exit status to end with.
int execTrayProgram(char** argv);

} // namespace Tolvane::cli
