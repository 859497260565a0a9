// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrayProgram.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace Tolvane::cli {

bool privateProgramFile(const char* name, char (&path)[PATH_MAX]) {
    // This program's own folder, as the kernel knows it (not as it was typed).
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return false;
    self[n] = '\0';
    if (char* slash = std::strrchr(self, '/'))
        *slash = '\0';
    const char* const folders[] = {"", TOLVANE_TRAY_FROM_COMMAND "/"};
    for (const char* below : folders) {
        const int length = std::snprintf(path, sizeof path, "%s/%s%s", self, below, name);
        if (length > 0 && std::size_t(length) < sizeof path && ::access(path, R_OK) == 0)
            return true;
    }
    return false;
}

int execTrayProgram(char** argv) {
    char program[PATH_MAX];
    if (!privateProgramFile(TOLVANE_TRAY_PROGRAM, program)) {
        std::fprintf(stderr, "tolvane: the tray program %s is not installed beside this program\n",
                     TOLVANE_TRAY_PROGRAM);
        return 1;
    }
    ::execv(program, argv);
    std::fprintf(stderr, "tolvane: cannot start %s: %s\n", program, std::strerror(errno));
    return 1;
}

} // namespace Tolvane::cli
