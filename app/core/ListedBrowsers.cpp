// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListedBrowsers.h"

#include "BrowserCatalogue.h"
#include "BrowserMatch.h"
#include "platform/BundleReader.h"
#include "platform/Services.h"

#include <functional>

namespace Tolvane {
namespace {

const QString desktopSuffix = QStringLiteral(".desktop");

QList<ListedBrowser> keep(const QList<ListedBrowser>& browsers,
                          const std::function<bool(const ListedBrowser&)>& test) {
    QList<ListedBrowser> kept;
    for (const ListedBrowser& listed : browsers)
        if (test(listed))
            kept << listed;
    return kept;
}

} // namespace

QList<ListedBrowser> listedBrowsers() {
    QList<ListedBrowser> listed;
    const auto reader = platform::get<platform::BundleReader>();
    for (const DefaultBrowser& browser : installedBrowsers()) {
        const auto bundle = reader->bundleAt(browser.url);
        const QString id = bundle && bundle->bundleIdentifier ? *bundle->bundleIdentifier : browser.bundleId;
        listed << ListedBrowser{browser, id + desktopSuffix};
    }
    return listed;
}

QList<ListedBrowser> browsersNamed(const QList<ListedBrowser>& browsers, const QString& wanted) {
    if (wanted.isEmpty())
        return {};
    const QString asDesktopId = wanted.endsWith(desktopSuffix) ? wanted : wanted + desktopSuffix;
    // The automation id by the rule every stored id follows: an updated browser keeps its old id.
    QList<DefaultBrowser> all;
    for (const ListedBrowser& listed : browsers)
        all << listed.browser;
    const DefaultBrowser* byId = browserMatching(all, wanted);
    const std::function<bool(const ListedBrowser&)> rules[] = {
        [&](const ListedBrowser& l) { return byId && l.browser.id() == byId->id(); },
        [&](const ListedBrowser& l) { return l.desktopId == asDesktopId; },
        [&](const ListedBrowser& l) { return l.desktopId.compare(asDesktopId, Qt::CaseInsensitive) == 0; },
        [&](const ListedBrowser& l) { return l.browser.appName.compare(wanted, Qt::CaseInsensitive) == 0; },
    };
    for (const auto& rule : rules)
        if (auto found = keep(browsers, rule); !found.isEmpty())
            return found;
    return {};
}

} // namespace Tolvane
