// SPDX-License-Identifier: GPL-3.0-or-later
#include "RizazozaZAZClient.h"

#include "ResponseLogger.h"
#include "RizazozaZAZError.h"
#include "URLSession.h"

#include <QStringDecoder>

namespace Tellwick {

Q_LOGGING_CATEGORY(responseLogger, "eu.corvane.twk.lib.response")

QUrl RizazozaZAZClient::defaultInstanceURL() {
    return QUrl(QStringLiteral(TOLVANE_FEEDBACK_URL));
}

RizazozaZAZClient::RizazozaZAZClient(QString appKey)
    : RizazozaZAZClient(std::move(appKey), sharedSession(), defaultInstanceURL()) {}

RizazozaZAZClient::RizazozaZAZClient(QString appKey, QNetworkAccessManager* session, QUrl instanceURL)
    : instanceURL(std::move(instanceURL)), session(session), appKey_(std::move(appKey)) {}

void RizazozaZAZClient::enableDebugging() {
    debugResponses = debugInstance = true;
}
void RizazozaZAZClient::disableDebugging() {
    debugResponses = debugInstance = false;
}

void logResponse(const QByteArray& bytes, const URLResponse& response) {
    if (!responseLogger().isDebugEnabled())
        return;
    const QString url =
        response.url.isEmpty() ? QStringLiteral("-") : response.url.toString(QUrl::FullyEncoded);
    qCDebug(responseLogger).noquote() << QStringLiteral("⬅️ 🌍 %1 HTTP %2")
                                             .arg(url, QString::number(response.statusCode.value_or(0)));
    for (const auto& [name, value] : response.headerFields)
        qCDebug(responseLogger).noquote() << QStringLiteral("⬅️ 🏷️ '%1': '%2'")
                                                 .arg(QString::fromUtf8(name), QString::fromUtf8(value));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString body = utf8.decode(bytes);
    if (utf8.hasError())
        body = QStringLiteral("nil");
    qCDebug(responseLogger).noquote() << QStringLiteral("⬅️ Body: %1").arg(body);
}

namespace {

QCoro::Task<std::pair<QByteArray, URLResponse>>
perform(RizazozaZAZClient client, std::shared_ptr<HTTPRequestBuilder> builder, std::stop_token stop) {
    auto& headers = builder->body.headers;
    const std::pair<QString, QString> defaults[] = {
        {QStringLiteral("Content-Type"), QStringLiteral("application/json")},
        {QStringLiteral("Accept"), QStringLiteral("application/json")},
        {QStringLiteral("User-Agent"), "Swift " + client.instanceURL.host()},
    };
    for (const auto& [name, value] : defaults)
        if (!headers.contains(name))
            headers.insert(name, value);

    URLRequest request = builder->makeURLRequest();
    // A redirected POST either turns into a GET that stores nothing yet reads as success (302), or
    // carries the message to another host (307): a 3xx is an answer, and not a good one.
    request.request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                                 QNetworkRequest::ManualRedirectPolicy);
    auto [bytes, response] = co_await data(client.session, std::move(request), stop);
    if (!response.isHTTP())
        throw RizazozaZAZError::nonHTTPURLResponse(bytes, response);
    if (client.debugResponses)
        logResponse(bytes, response);
    if (!client.validStatusCodes().contains(*response.statusCode))
        throw RizazozaZAZError::invalidStatusCode(bytes, response);
    co_return std::pair{std::move(bytes), std::move(response)};
}

QString appendingPathComponent(const QString& path, const QString& component) {
    return path.endsWith('/') ? path + component : path + '/' + component;
}

QCoro::Task<void> send(RizazozaZAZClient client, QList<MultipartForm::Part> parts, std::stop_token stop) {
    auto builder = std::make_shared<HTTPRequestBuilder>();
    QUrl url = client.instanceURL;
    url.setPath(appendingPathComponent(appendingPathComponent(url.path(), "api"), "values"));
    // Without a host there is no service to reach; the builder then has no URL and says so.
    if (!client.instanceURL.host().isEmpty())
        builder->setURL(url);
    builder->method = HTTPMethod::post;
    builder->body = HTTPBody::multipartBody([&parts] { return std::move(parts); });
    co_await perform(client, std::move(builder), std::move(stop));
}

MultipartForm::Part textPart(const QString& name, const QString& value) {
    return {name, value.toUtf8(), {}, {}};
}

void appendAttributes(QList<MultipartForm::Part>& parts,
                      const std::optional<RizazozaZAZClient::Attributes>& map) {
    if (!map)
        return;
    for (auto it = map->cbegin(); it != map->cend(); ++it)
        parts.append(textPart("value[attributes][" + it.key() + "]", it.value()));
}

} // namespace

QCoro::Task<std::pair<QByteArray, URLResponse>>
RizazozaZAZClient::performRequest(std::shared_ptr<HTTPRequestBuilder> builder, std::stop_token stop) const {
    return perform(*this, std::move(builder), std::move(stop));
}

QCoro::Task<void> RizazozaZAZClient::submitFeedback(QString content, std::optional<Attributes> attributes,
                                                    std::stop_token stop) const {
    QList<MultipartForm::Part> parts{textPart("value[key]", appKey_), textPart("value[content]", content)};
    appendAttributes(parts, attributes);
    return send(*this, std::move(parts), std::move(stop));
}

QCoro::Task<void>
RizazozaZAZClient::submitFeedback(QString content, QString fileName, std::optional<QByteArray> data,
                                  std::optional<QString> contentType, std::optional<QString> email,
                                  std::optional<Attributes> attributes, std::stop_token stop) const {
    QList<MultipartForm::Part> parts{textPart("value[key]", appKey_), textPart("value[content]", content)};
    if (data && contentType)
        parts.append({QStringLiteral("file"), *data, fileName, *contentType});
    if (email) {
        const QString trimmed = email->trimmed();
        if (!trimmed.isEmpty())
            parts.append(textPart("value[email]", trimmed));
    }
    appendAttributes(parts, attributes);
    return send(*this, std::move(parts), std::move(stop));
}

} // namespace Tellwick
