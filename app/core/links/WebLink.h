// SPDX-License-Identifier: GPL-3.0-or-later
// A link's host and path as the browser that loads it will read them, so rules judge the same site.
#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace Tolvane {

// A web link read the way a browser will load it (WHATWG URL, http and https only, no base URL).
struct WebLink {
    QString scheme; // "http" or "https"
    QString host;   // serialized as browsers do: IDNA ASCII lower case, IPv4 dotted, IPv6 in []
    bool hostIsIp = false;
    int port = 0; // the link's port, or the scheme's default
    QString path; // percent-encoded, dot segments resolved, at least "/"
    QString href; // the whole serialized URL
    // None for anything a browser would not load as an http(s) URL.
    static std::optional<WebLink> read(QStringView text);
    // A path alone (from its first "/", without "?" or "#") spelled as `read` spells a link's path.
    static QString readPath(QStringView path);
};

// Whether `text` is a web link a browser would load.
bool isWebLink(QStringView text);

} // namespace Tolvane
