// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandModule.h"

#include "TrayProgram.h"

#include <cstdio>
#include <dlfcn.h>

namespace Tolvane::cli {

int runCommandModule(int argc, char** argv) {
    char module[PATH_MAX];
    if (!privateProgramFile(TOLVANE_COMMAND_MODULE, module)) {
        std::fprintf(stderr, "tolvane: %s is not installed beside this program\n", TOLVANE_COMMAND_MODULE);
        return 1;
    }
    void* handle = ::dlopen(module, RTLD_LAZY | RTLD_LOCAL);
    using Entry = int (*)(int, char**);
    const auto run = handle ? reinterpret_cast<Entry>(::dlsym(handle, "tolvane_command_main")) : nullptr;
    if (!run) {
        std::fprintf(stderr, "tolvane: cannot load %s: %s\n", module, ::dlerror());
        return 1;
    }
    return run(argc, argv);
}

} // namespace Tolvane::cli
