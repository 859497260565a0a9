// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QNetworkRequest>

#include <optional>

namespace Tellwick {

// What the network layer needs to send one request: Qt's request record plus the method and body it lacks.
struct URLRequest {
    QNetworkRequest request;
    QByteArray httpMethod;
    std::optional<QByteArray> httpBody;
};

} // namespace Tellwick
