// SPDX-License-Identifier: GPL-3.0-or-later
// The site a rule made from the picker names, and the hosts the picker shows: each the host the
// browser will load, which is not always the one a quick read of the link suggests.
#pragma once

#include <QStringList>

#include <optional>

namespace Tolvane {

// The site pattern every one of `urls` falls under (the host as browsers load it: ASCII, an IPv6
// address in brackets); none when they are not all web links of one host, so no rule would cover
// them all.
std::optional<QString> sharedSite(const QStringList& urls);

// The hosts the browser will load for `urls`, each once, in the links' order.
QStringList loadedHosts(const QStringList& urls);

} // namespace Tolvane
