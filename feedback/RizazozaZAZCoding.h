// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonValue>

namespace Tellwick {

// Reads the service's JSON with snake_case keys turned into camelCase.
struct RizazozaZAZDecoder {
    // Throws RizazozaZAZError::decodingError on text that is not JSON.
    QJsonDocument decode(const QByteArray& json) const;
    bool operator==(const RizazozaZAZDecoder&) const = default;
};

// Writes JSON with camelCase keys turned into snake_case.
struct RizazozaZAZEncoder {
    QByteArray encode(const QJsonValue& value) const;
    bool operator==(const RizazozaZAZEncoder&) const = default;
};

QString convertFromSnakeCase(const QString& key);
QString convertToSnakeCase(const QString& key);

} // namespace Tellwick
