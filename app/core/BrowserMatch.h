// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DefaultBrowser.h"

#include <QList>

namespace Tolvane {

// The browser a stored identifier names: the one whose id is exactly `id`, else the one with the
// same bundleId and url, whose version has changed since the identifier was stored (an update
// must not orphan a toggle or an automation). Null when none.
const DefaultBrowser* browserMatching(const QList<DefaultBrowser>& browsers, const QString& id);

} // namespace Tolvane
