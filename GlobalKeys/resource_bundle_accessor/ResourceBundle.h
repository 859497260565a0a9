// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace GlobalKeys {

// The library's own texts. A translator installed by the application for the "GlobalKeys" context
// wins; otherwise the English texts compiled into the library answer, so a text is always found.
QString localizedString(const char* key);

} // namespace GlobalKeys
