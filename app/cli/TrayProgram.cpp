#include "TrayProgram.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace Tolvane::cli {
namespace {

// This program's own folder, as the kernel knows it (not as it was typed).
std::string ownFolder() {
    char path[4096];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return {};
    const std::string self(path, std::size_t(n));
    return self.substr(0, self.rfind('/'));
}

} // namespace

int execTrayProgram(char** argv) {
    const std::string folder = ownFolder();
    // Beside this program in a build, in the private program folder once installed.
    for (const std::string& candidate : {folder + "/" TOLVANE_TRAY_PROGRAM,
                                         folder + "/" TOLVANE_TRAY_FROM_COMMAND "/" TOLVANE_TRAY_PROGRAM}) {
        if (::access(candidate.c_str(), X_OK) != 0)
            continue;
        ::execv(candidate.c_str(), argv);
        std::fprintf(stderr, "tolvane: cannot start %s: %s\n", candidate.c_str(), std::strerror(errno));
        return 1;
    }
    std::fprintf(stderr, "tolvane: the tray program %s is not installed beside %s\n", TOLVANE_TRAY_PROGRAM,
                 folder.c_str());
    return 1;
}

} // namespace Tolvane::cli
