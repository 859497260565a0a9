// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace Tolvane {

// The main bundle's display name, else its name, else "⚠️".
QString appDisplayName();

// The translation of `key` in the application's texts, or `defaultValue` when there is none.
QString localizedString(const char* key, const QString& defaultValue);

} // namespace Tolvane
