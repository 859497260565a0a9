// SPDX-License-Identifier: GPL-3.0-or-later
#include "SwitchFailureNotice.h"

#include "BrowserNameMemory.h"

#include "platform/Notifications.h"
#include "platform/Services.h"

#include <QCoreApplication>

namespace Tolvane {

void notifySwitchFailure(const DefaultBrowser& browser, const LaunchServices::Error& error) {
    if (!platform::has<platform::Notifications>())
        return;
    const QString summary =
        QCoreApplication::translate("Tolvane::SwitchFailureNotice", "Could not make %1 the default browser")
            .arg(browser.appName);
    platform::get<platform::Notifications>()->notify(summary, error.reason());
}

void notifyBrowserGone(const QString& name) {
    if (!platform::has<platform::Notifications>())
        return;
    const QString summary =
        QCoreApplication::translate("Tolvane::SwitchFailureNotice", "Could not make %1 the default browser")
            .arg(name);
    const QString body = QCoreApplication::translate(
        "Tolvane::SwitchFailureNotice",
        "It is no longer installed. Choose another browser for the shortcut in the settings.");
    platform::get<platform::Notifications>()->notify(summary, body);
}

QString storedBrowserName(const QString& storedId) {
    const QString bundleId = storedId.section(QLatin1Char(':'), 0, 0);
    if (bundleId.isEmpty())
        return QCoreApplication::translate("Tolvane::SwitchFailureNotice", "the chosen browser");
    // The name the user saw in the picker; the identifier only when Tolvane never listed it.
    return rememberedBrowserName(bundleId).value_or(bundleId);
}

} // namespace Tolvane
