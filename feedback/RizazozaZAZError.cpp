// SPDX-License-Identifier: GPL-3.0-or-later
#include "RizazozaZAZError.h"

#include "URLError.h"

namespace Tellwick {

URLError::URLError(int code, QString description)
    : code_(code), description_(std::move(description)), utf8_(description_.toUtf8()) {}

RizazozaZAZError::RizazozaZAZError(Case c, QString message, QByteArray data, URLResponse response)
    : case_(c), message_(std::move(message)), data_(std::move(data)), response_(std::move(response)),
      utf8_(description().toUtf8()) {}

RizazozaZAZError RizazozaZAZError::decodingError(QString message) {
    return {Case::decodingError, std::move(message), {}, {}};
}
RizazozaZAZError RizazozaZAZError::nonHTTPURLResponse(QByteArray data, URLResponse response) {
    return {Case::nonHTTPURLResponse, {}, std::move(data), std::move(response)};
}
RizazozaZAZError RizazozaZAZError::invalidStatusCode(QByteArray data, URLResponse response) {
    return {Case::invalidStatusCode, {}, std::move(data), std::move(response)};
}
RizazozaZAZError RizazozaZAZError::unexpectedError(QString message) {
    return {Case::unexpectedError, std::move(message), {}, {}};
}
RizazozaZAZError RizazozaZAZError::internalError(QString message) {
    return {Case::internalError, std::move(message), {}, {}};
}
RizazozaZAZError RizazozaZAZError::requiredURLNotSet() {
    return {Case::requiredURLNotSet, {}, {}, {}};
}

QString RizazozaZAZError::description() const {
    switch (case_) {
    case Case::decodingError:
        return "[RizazozaZAZ bug] There was an error decoding incoming data:\n" + message_ + ".";
    case Case::nonHTTPURLResponse:
        return QStringLiteral("Unexpected response.");
    case Case::invalidStatusCode:
        return "Invalid HTTP status code: " + QString::number(response_.statusCode.value_or(0)) + ".";
    case Case::unexpectedError:
        return "Unexpected error: " + message_;
    case Case::internalError:
        return "[RizazozaZAZ bug] " + message_ + ".";
    case Case::requiredURLNotSet:
        return QStringLiteral("[RizazozaZAZ bug] HTTPRequestBuilder was used without setting a url.");
    }
    return {};
}

bool RizazozaZAZError::operator==(const RizazozaZAZError& other) const {
    return case_ == other.case_ && message_ == other.message_ && data_ == other.data_ &&
           response_ == other.response_;
}

} // namespace Tellwick
