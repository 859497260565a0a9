// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/HotKeyEvents.h"

#include <QVariant>

#include <vector>

namespace platform {

// One shortcut the desktop reserves. Values keep their raw types, as the reader must check them.
struct SymbolicHotKey {
    QVariant enabled;   // Boolean
    QVariant code;      // Carbon key code, integer
    QVariant modifiers; // Carbon modifiers, integer
};

class SymbolicHotKeys {
public:
    virtual ~SymbolicHotKeys() = default;
    // Fills `out` with the desktop's own key bindings; a non-zero status when they cannot be read.
    virtual OSStatus copySymbolicHotKeys(std::vector<SymbolicHotKey>* out) = 0;
};

} // namespace platform
