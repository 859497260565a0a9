// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace Tellwick {

// A transport failure reported by the network layer (connection refused, TLS, time-out, cancellation),
// handed to the caller as the network layer described it.
class URLError : public std::exception {
public:
    // Finished without error yet without a response.
    static constexpr int badServerResponse = -1011;

    // code: a QNetworkReply::NetworkError, or badServerResponse.
    URLError(int code, QString description);

    int code() const { return code_; }
    QString description() const { return description_; }
    const char* what() const noexcept override { return utf8_.constData(); }
    bool operator==(const URLError& other) const { return code_ == other.code_; }

private:
    int code_;
    QString description_;
    QByteArray utf8_;
};

} // namespace Tellwick
