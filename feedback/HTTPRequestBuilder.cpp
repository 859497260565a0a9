// SPDX-License-Identifier: GPL-3.0-or-later
#include "HTTPRequestBuilder.h"

#include "RizazozaZAZError.h"

namespace Tellwick {

void HTTPRequestBuilder::setURL(const QUrl& url) {
    if (url.isEmpty() || !url.isValid())
        return;
    urlComponents = url;
}

void HTTPRequestBuilder::setURL(const QString& text) {
    setURL(QUrl(text, QUrl::StrictMode));
}

URLRequest HTTPRequestBuilder::makeURLRequest() const {
    if (urlComponents.isEmpty() || !urlComponents.isValid())
        throw RizazozaZAZError::requiredURLNotSet();
    URLRequest result;
    result.request.setUrl(urlComponents);
    result.request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferNetwork);
    result.request.setTransferTimeout(timeoutMilliseconds);
    result.httpMethod = rawValue(method).toLatin1();
    for (auto it = body.headers.cbegin(); it != body.headers.cend(); ++it)
        result.request.setRawHeader(it.key().toUtf8(), it.value().toUtf8());
    result.httpBody = body.content;
    return result;
}

} // namespace Tellwick
