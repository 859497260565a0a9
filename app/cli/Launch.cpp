// SPDX-License-Identifier: GPL-3.0-or-later
#include "Launch.h"

#include <cctype>
#include <cstring>

namespace Tolvane::cli {

bool isBareWebLink(const char* word) {
    // Browsers drop leading spaces and control characters, and tabs and newlines anywhere.
    while (*word && static_cast<unsigned char>(*word) <= ' ')
        ++word;
    char scheme[7] = {};
    std::size_t n = 0;
    for (; *word && n < sizeof scheme - 1; ++word) {
        if (*word == '\t' || *word == '\n' || *word == '\r')
            continue;
        scheme[n++] = static_cast<char>(std::tolower(static_cast<unsigned char>(*word)));
        if (*word == ':')
            break;
    }
    return std::strcmp(scheme, "http:") == 0 || std::strcmp(scheme, "https:") == 0;
}

Launch launchFor(int argc, char** argv) {
    bool service = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--service") == 0)
            service = true;
        else if (isBareWebLink(arg))
            return Launch::command;
        // Qt's own options have one dash; any other double-dash option is ours to check.
        else if (std::strcmp(arg, "--autostart") != 0 &&
                 (std::strncmp(arg, "--", 2) == 0 || !std::strcmp(arg, "-h") || !std::strcmp(arg, "-v")))
            return Launch::command;
    }
    return service ? Launch::service : Launch::tray;
}

} // namespace Tolvane::cli
