// SPDX-License-Identifier: GPL-3.0-or-later
#include "Services.h"

#include <QtGlobal>

namespace platform {

void missingPort(const char* typeName) {
    qFatal("no platform adapter installed for %s", typeName);
}

} // namespace platform
