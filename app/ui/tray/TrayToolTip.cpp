// SPDX-License-Identifier: GPL-3.0-or-later
#include "TrayToolTip.h"

#include "platform/BundleReader.h"
#include "platform/HandlerService.h"
#include "platform/Services.h"

#include <QCoreApplication>

namespace Tolvane::TrayToolTip {

QString defaultBrowserLine(const QList<DefaultBrowser>& browsers) {
    const auto current =
        platform::get<platform::HandlerService>()->defaultHandlerForURLScheme(QStringLiteral("https"));
    if (!current)
        return {};
    // The handler answers with a desktop-file ID; a browser's is its bundle's identifier.
    const auto reader = platform::get<platform::BundleReader>();
    for (const DefaultBrowser& browser : browsers) {
        const auto bundle = reader->bundleAt(browser.url);
        const QString id = bundle && bundle->bundleIdentifier ? *bundle->bundleIdentifier : browser.bundleId;
        if (id + QLatin1String(".desktop") == *current || id == *current)
            return QCoreApplication::translate("Tolvane::TrayToolTip", "Default browser: %1")
                .arg(browser.appName);
    }
    return {};
}

} // namespace Tolvane::TrayToolTip
