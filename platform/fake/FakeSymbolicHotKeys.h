// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SymbolicHotKeys.h"

namespace platform::fake {

class FakeSymbolicHotKeys : public SymbolicHotKeys {
public:
    std::vector<SymbolicHotKey> entries;
    OSStatus status = noErr;

    OSStatus copySymbolicHotKeys(std::vector<SymbolicHotKey>* out) override {
        if (status == noErr)
            *out = entries;
        return status;
    }
};

} // namespace platform::fake
