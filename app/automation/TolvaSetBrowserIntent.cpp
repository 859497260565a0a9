// SPDX-License-Identifier: GPL-3.0-or-later
#include "TolvaSetBrowserIntent.h"

#include "AppDisplayName.h"
#include "BrowserCatalogue.h"
#include "BrowserMatch.h"
#include "IntentLog.h"
#include "SettingsStore.h"
#include "platform/Console.h"

namespace Tolvane {

const QString& TolvaSetBrowserIntent::title() {
    static const QString text =
        localizedString("Set default system browser", QStringLiteral("Set default system browser"));
    return text;
}

QString TolvaSetBrowserIntent::description() {
    return localizedString("Choose the browser to become the new default system browser.",
                           QStringLiteral("Choose the browser to become the new default system browser."));
}

IntentParameterMetadata TolvaSetBrowserIntent::browserParameter() {
    return {localizedString("Browser", QStringLiteral("Browser")), description()};
}

QString SettingsUnavailable::message() const {
    const QString name = browserName_.isEmpty() ? QStringLiteral("the browser") : browserName_;
    return QStringLiteral("Could not make %1 the default browser: the settings file %2 cannot be read.")
        .arg(name, SettingsStore::filePath());
}

IntentOutcome TolvaSetBrowserIntent::perform() const {
    return setDefaultBrowserFromEntity(browser, "TolvaSetBrowserIntent");
}

IntentOutcome setDefaultBrowserFromEntity(const std::optional<BrowserEntity>& browser,
                                          const char* logCategory) {
    logIntentDebug(logCategory, "Perform called");
    if (!browser) {
        logIntentDebug(logCategory, "No default browser selected");
        return IntentOutcome::noBrowserChosen;
    }
    const QList<DefaultBrowser> browsers = installedBrowsers();
    const DefaultBrowser* match = browserMatching(browsers, browser->id);
    if (!match) {
        platform::printLine(QStringLiteral("No valid default browser is selected"));
        return IntentOutcome::noSuchBrowser;
    }
    // The line announces a switch, so it follows the settings read that could still stop it.
    // An unreadable suite must stop the switch, not read as "off".
    const std::optional<bool> autoConfirm =
        SettingsStore::readableBoolForKey(SettingsStore::autoConfirmChange);
    if (!autoConfirm)
        throw SettingsUnavailable(match->appName);
    platform::printLine("Setting default browser to " + match->id());
    match->setAsDefault(*autoConfirm);
    return IntentOutcome::switched;
}

} // namespace Tolvane
