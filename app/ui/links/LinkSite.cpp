// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkSite.h"

#include "app/core/links/LinkRules.h"
#include "app/core/links/WebLink.h"

#include <QUrl>

namespace Tolvane {
namespace {

std::optional<QString> siteOf(const QString& link) {
    const std::optional<WebLink> url = WebLink::read(link);
    if (!url)
        return std::nullopt;
    // The name as people read it, where Qt trusts the script of an internationalized one.
    QString host = url->hostIsIp ? url->host : QUrl::fromAce(url->host.toLatin1()).toLower();
    if (host.endsWith(QLatin1Char('.')))
        host.chop(1);
    // Only a site the rules read back as one, and that matches the very link asked about.
    if (host.isEmpty() || linkPatternProblem(host) || !linkPatternMatches(host, *url))
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

QStringList loadedHosts(const QStringList& urls) {
    QStringList hosts;
    for (const QString& link : urls)
        if (const auto web = WebLink::read(link); web && !hosts.contains(web->host))
            hosts << web->host;
    return hosts;
}

} // namespace Tolvane
