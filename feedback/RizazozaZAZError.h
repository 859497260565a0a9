// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "URLResponse.h"

#include <QByteArray>
#include <QString>

#include <exception>

namespace Tellwick {

// The feedback client's failures, each with a fixed English description.
class RizazozaZAZError : public std::exception {
public:
    enum class Case {
        decodingError,
        nonHTTPURLResponse,
        invalidStatusCode,
        unexpectedError,
        internalError,
        requiredURLNotSet,
    };

    static RizazozaZAZError decodingError(QString message);
    static RizazozaZAZError nonHTTPURLResponse(QByteArray data, URLResponse response);
    static RizazozaZAZError invalidStatusCode(QByteArray data, URLResponse response);
    static RizazozaZAZError unexpectedError(QString message);
    static RizazozaZAZError internalError(QString message);
    static RizazozaZAZError requiredURLNotSet();

    Case kind() const { return case_; }
    QString message() const { return message_; }
    QByteArray data() const { return data_; }
    URLResponse response() const { return response_; }

    QString description() const;
    const char* what() const noexcept override { return utf8_.constData(); }

    bool operator==(const RizazozaZAZError& other) const;

private:
    RizazozaZAZError(Case c, QString message, QByteArray data, URLResponse response);
    Case case_;
    QString message_;
    QByteArray data_;
    URLResponse response_;
    QByteArray utf8_;
};

} // namespace Tellwick
