// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MultipartForm.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <functional>
#include <optional>

namespace Tellwick {

// Bytes to send and the headers that describe them.
struct HTTPBody {
    std::optional<QByteArray> content;
    QMap<QString, QString> headers;

    bool operator==(const HTTPBody&) const = default;

    // A form-data body with a fresh boundary; an exception from `parts` passes through untouched.
    static HTTPBody multipartBody(const std::function<QList<MultipartForm::Part>()>& parts);
};

} // namespace Tellwick
