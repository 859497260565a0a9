// SPDX-License-Identifier: GPL-3.0-or-later
#include "HTTPMethod.h"

namespace Tellwick {

QString rawValue(HTTPMethod method) {
    switch (method) {
    case HTTPMethod::delete_:
        return QStringLiteral("DELETE");
    case HTTPMethod::get:
        return QStringLiteral("GET");
    case HTTPMethod::post:
        return QStringLiteral("POST");
    case HTTPMethod::put:
        return QStringLiteral("PUT");
    }
    return {};
}

std::optional<HTTPMethod> httpMethodFromRawValue(QStringView text) {
    for (auto method : {HTTPMethod::delete_, HTTPMethod::get, HTTPMethod::post, HTTPMethod::put})
        if (text == rawValue(method))
            return method;
    return std::nullopt;
}

} // namespace Tellwick
