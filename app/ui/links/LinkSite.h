// SPDX-License-Identifier: GPL-3.0-or-later
// The site a rule made from the picker names: the host the links share, as a person reads it.
#pragma once

#include <QStringList>

#include <optional>

namespace Tolvane {

// The site pattern every one of `urls` falls under (the host, Unicode, an IPv6 address in
// brackets); none when they are not all web links of one host, so no rule would cover them all.
std::optional<QString> sharedSite(const QStringList& urls);

} // namespace Tolvane
