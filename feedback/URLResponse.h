// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QUrl>

#include <optional>
#include <utility>

namespace Tellwick {

// A response as the session saw it; an HTTP response is one with a status code.
struct URLResponse {
    QUrl url;
    std::optional<int> statusCode;
    // Header fields in the order the server sent them.
    QList<std::pair<QByteArray, QByteArray>> headerFields;

    bool isHTTP() const { return statusCode.has_value(); }
    bool operator==(const URLResponse&) const = default;
};

} // namespace Tellwick
