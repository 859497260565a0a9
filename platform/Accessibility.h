// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace platform {

class Accessibility {
public:
    virtual ~Accessibility() = default;
    // True when the process may control the desktop; `prompt` lets the system ask the user.
    virtual bool isProcessTrusted(bool prompt) = 0;
};

} // namespace platform
