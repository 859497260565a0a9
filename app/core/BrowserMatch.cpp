// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserMatch.h"

namespace Tolvane {

const DefaultBrowser* browserMatching(const QList<DefaultBrowser>& browsers, const QString& id) {
    for (const DefaultBrowser& browser : browsers)
        if (browser.id() == id)
            return &browser;
    for (const DefaultBrowser& browser : browsers) {
        // Same identifier in front, same location at the end, any version between.
        const QString head = browser.bundleId + ':';
        const QString tail = ':' + browser.url.toString(QUrl::FullyEncoded);
        if (id.size() >= head.size() + tail.size() && id.startsWith(head) && id.endsWith(tail))
            return &browser;
    }
    return nullptr;
}

} // namespace Tolvane
