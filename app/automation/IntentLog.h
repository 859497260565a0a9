// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

namespace Tolvane {

// "<app id>.<category>", the app id being the main bundle's identifier.
QByteArray intentLogCategoryName(const char* category);

// One debug entry through a logger made for it.
void logIntentDebug(const char* category, const char* message);

} // namespace Tolvane
