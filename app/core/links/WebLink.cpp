// SPDX-License-Identifier: GPL-3.0-or-later
// Reads web links as browsers do.
#include "WebLink.h"

namespace Tolvane {

std::optional<WebLink> WebLink::read(QStringView) {
    return std::nullopt;
}

bool isWebLink(QStringView text) {
    return WebLink::read(text).has_value();
}

} // namespace Tolvane
