// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

#include <optional>

namespace Tolvane::Assets {

// The application's named images ("browser", "settings", "shortcuts"); a null icon when unknown.
QIcon image(const QString& name);
// The application's named colours ("AccentColor"); none when the asset is missing.
std::optional<QColor> color(const QString& name);
// The running application's own icon.
QIcon applicationIcon();

} // namespace Tolvane::Assets
