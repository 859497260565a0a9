// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HTTPBody.h"
#include "HTTPMethod.h"
#include "URLRequest.h"

#include <QUrl>

namespace Tellwick {

// Collects URL, method and body of one request; shared by the code that fills it and the client that sends
// it.
class HTTPRequestBuilder {
public:
    QUrl urlComponents;
    HTTPMethod method = HTTPMethod::get;
    HTTPBody body;

    // Replaces the whole URL; an empty or unparsable one leaves the previous URL in place.
    void setURL(const QUrl& url);
    void setURL(const QString& text);

    // Throws RizazozaZAZError::requiredURLNotSet while no URL was set.
    URLRequest makeURLRequest() const;

    // How long the transfer may go without any progress before it fails as timed out.
    int timeoutMilliseconds = 60'000;
};

} // namespace Tellwick
