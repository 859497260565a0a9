// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace Tolvane {

class PermissionsHelper {
public:
    // True when the process is trusted for accessibility at the end of the call.
    // When it is not, explains why in a modal alert and lets the system ask.
    static bool ensureAccessibilityPermission();
};

} // namespace Tolvane
