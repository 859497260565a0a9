// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkSite.h"

#include "app/core/links/LinkRules.h"

#include <QUrl>

namespace Tolvane {
namespace {

std::optional<QString> siteOf(const QString& link) {
    const QUrl url(link);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return std::nullopt;
    QString host = url.host(QUrl::PrettyDecoded).toLower();
    if (host.endsWith(QLatin1Char('.')))
        host.chop(1);
    if (host.contains(QLatin1Char(':')))
        host = QLatin1Char('[') + host + QLatin1Char(']');
    // Only a site the rules read back as one, and that matches the very link asked about.
    if (host.isEmpty() || linkPatternProblem(host) || !linkPatternMatches(host, url))
        return std::nullopt;
    return host;
}

} // namespace

std::optional<QString> sharedSite(const QStringList& urls) {
    std::optional<QString> shared;
    for (const QString& link : urls) {
        const auto site = siteOf(link);
        if (!site || (shared && *shared != *site))
            return std::nullopt;
        shared = site;
    }
    return shared;
}

} // namespace Tolvane
