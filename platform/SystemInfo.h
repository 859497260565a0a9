// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {

// Facts about the running system that the feedback report sends along.
class SystemInfo {
public:
    struct Version {
        int major = 0;
        int minor = 0;
        int patch = 0;
    };
    virtual ~SystemInfo() = default;
    // The operating system's (on Linux: the distribution's) version.
    virtual Version operatingSystemVersion() = 0;
    // The machine's model name; the processor architecture when the firmware names none.
    virtual QString hardwareModel() = 0;
};

} // namespace platform
