// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DefaultBrowser.h"

#include <QList>
#include <QString>

#include <optional>

namespace Tolvane {

// The names of browsers that were installed when Tolvane last listed them for a choice, so a notice
// about one that is gone can still call it as the user knew it ("Firefox ESR", not "firefox-esr").
void rememberBrowserNames(const QList<DefaultBrowser>& browsers);
std::optional<QString> rememberedBrowserName(const QString& bundleId);

} // namespace Tolvane
