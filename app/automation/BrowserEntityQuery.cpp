// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserEntityQuery.h"

#include "BrowserCatalogue.h"
#include "BrowserMatch.h"

#include <QSet>

namespace Tolvane {

QList<BrowserEntity> BrowserEntityQuery::entities(const QStringList& identifiers) const {
    // A set keeps a long request list from turning the match quadratic.
    const QSet<QString> wanted(identifiers.begin(), identifiers.end());
    const QList<DefaultBrowser> browsers = installedBrowsers();
    QSet<const DefaultBrowser*> matched;
    for (const QString& id : wanted)
        if (const DefaultBrowser* browser = browserMatching(browsers, id))
            matched.insert(browser);
    QList<BrowserEntity> kept;
    for (const DefaultBrowser& browser : browsers)
        if (matched.contains(&browser))
            kept << BrowserEntity::from(browser);
    return kept;
}

QList<BrowserEntity> BrowserEntityQuery::suggestedEntities() const {
    QList<BrowserEntity> entities;
    for (const DefaultBrowser& browser : installedBrowsers())
        entities << BrowserEntity::from(browser);
    return entities;
}

} // namespace Tolvane
