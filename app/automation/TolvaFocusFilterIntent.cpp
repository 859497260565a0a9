// SPDX-License-Identifier: GPL-3.0-or-later
#include "TolvaFocusFilterIntent.h"

#include "AppDisplayName.h"
#include "BrowserCatalogue.h"

namespace Tolvane {

TolvaFocusFilterIntent::DisplayRepresentation TolvaFocusFilterIntent::displayRepresentation() const {
    return {browser ? browser->displayName
                    : localizedString("Browser: none selected", QStringLiteral("Browser: none selected")),
            localizedString("Change default browser", QStringLiteral("Change default browser"))};
}

QList<TolvaFocusFilterIntent> TolvaFocusFilterIntent::suggestedFocusFilters(QRandomGenerator* random) {
    const QList<DefaultBrowser> browsers = installedBrowsers();
    if (browsers.isEmpty())
        return {};
    TolvaFocusFilterIntent filter;
    filter.browser = BrowserEntity::from(browsers.at(random->bounded(qint64(browsers.size()))));
    return {filter};
}

IntentOutcome TolvaFocusFilterIntent::perform() const {
    return setDefaultBrowserFromEntity(browser, "TolvaFocusFilterIntent");
}

} // namespace Tolvane
