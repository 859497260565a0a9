// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace Tellwick {

enum class HTTPMethod { delete_, get, post, put };

QString rawValue(HTTPMethod method);
// Exact match on the upper-case text; anything else is no method.
std::optional<HTTPMethod> httpMethodFromRawValue(QStringView text);

} // namespace Tellwick
