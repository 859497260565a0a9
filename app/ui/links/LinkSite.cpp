// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkSite.h"

#include "app/core/links/LinkRules.h"
#include "app/core/links/WebLink.h"

#include <QUrl>

namespace Tolvane {
namespace {

std::optional<QString> siteOf(const QString& link) {
    const auto web = WebLink::read(link);
    if (!web || web->host.isEmpty())
        return std::nullopt;
    QString host = web->host;
    if (host.size() > 1 && host.endsWith(QLatin1Char('.')))
        host.chop(1);
    // Only a site the rules read back as one, and that the rules find in the very link asked about:
    // a rule that would not catch this link must not be offered for it.
    if (linkPatternProblem(host) || !linkPatternMatches(host, QUrl(link)))
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
