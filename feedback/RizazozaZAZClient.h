// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HTTPRequestBuilder.h"
#include "RizazozaZAZCoding.h"
#include "URLResponse.h"

#include <QCoroTask>
#include <QMap>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>
#include <stop_token>

class QNetworkAccessManager;

namespace Tellwick {

// Sends feedback messages to the maker's service. A value: every call works on its own copy.
// Failures: RizazozaZAZError for the service's answers, URLError for transport failures (cancellation
// included).
class RizazozaZAZClient {
public:
    using Attributes = QMap<QString, QString>;

    struct StatusRange {
        int lower = 200;
        int upperExclusive = 300;
        bool contains(int code) const { return code >= lower && code < upperExclusive; }
    };

    explicit RizazozaZAZClient(QString appKey);
    RizazozaZAZClient(QString appKey, QNetworkAccessManager* session, QUrl instanceURL);

    static QUrl defaultInstanceURL();

    QUrl instanceURL;
    bool debugResponses = false;
    bool debugInstance = false;
    RizazozaZAZDecoder decoder;
    RizazozaZAZEncoder encoder;
    QNetworkAccessManager* session;

    const QString& appKey() const { return appKey_; }
    StatusRange validStatusCodes() const { return {}; }

    void enableDebugging();
    void disableDebugging();

    // Adds the default headers the builder lacks, sends, and accepts statuses 200..299.
    QCoro::Task<std::pair<QByteArray, URLResponse>>
    performRequest(std::shared_ptr<HTTPRequestBuilder> builder, std::stop_token stop = {}) const;

    QCoro::Task<void> submitFeedback(QString content, std::optional<Attributes> attributes,
                                     std::stop_token stop = {}) const;
    // The attachment goes along only when both `data` and `contentType` are given.
    QCoro::Task<void> submitFeedback(QString content, QString fileName, std::optional<QByteArray> data,
                                     std::optional<QString> contentType, std::optional<QString> email,
                                     std::optional<Attributes> attributes, std::stop_token stop = {}) const;

private:
    QString appKey_;
};

} // namespace Tellwick
