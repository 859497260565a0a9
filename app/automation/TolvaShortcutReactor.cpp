#include "TolvaShortcutReactor.h"

#include "BrowserCatalogue.h"
#include "BrowserMatch.h"
#include "LaunchServices.h"
#include "SettingsStore.h"
#include "SwitchFailureNotice.h"
#include "platform/Console.h"

#include "GlobalKeys/GlobalKeys.h"

namespace Tolvane {

TolvaShortcutReactor::TolvaShortcutReactor(QObject* parent) : QObject(parent) {
    // Registered once for the life of the process; nothing ever removes it.
    // Desktops that list global shortcuts (the portal's) show this text beside the key.
    GlobalKeys::setDescription(toggleSystemBrowserKeys(), tr("Switch the default browser"));
    GlobalKeys::addKeyUpHandler(toggleSystemBrowserKeys(), &TolvaShortcutReactor::toggleBrowser);
}

const GlobalKeys::Name& TolvaShortcutReactor::toggleSystemBrowserKeys() {
    static const GlobalKeys::Name name(QStringLiteral("toggleSystemBrowserKeys"));
    return name;
}

void TolvaShortcutReactor::toggleBrowser() {
    const auto storedId = SettingsStore::stringForKey(SettingsStore::toggleBrowserId);
    if (!storedId) {
        platform::printLine(QStringLiteral("no predefined browser"));
        return;
    }
    const auto browsers = installedBrowsers();
    const DefaultBrowser* match = browserMatching(browsers, *storedId);
    if (!match) {
        platform::printLine(QStringLiteral("No valid default browser is selected"));
        return;
    }
    platform::printLine(QStringLiteral("Setting default browser to ") + match->id());
    const bool autoConfirm = SettingsStore::boolForKey(SettingsStore::autoConfirmChange);
    try {
        match->setAsDefault(autoConfirm);
    } catch (const LaunchServices::Error& error) {
        platform::printLine(QStringLiteral("Error handling shortcut ") + error.description());
        notifySwitchFailure(*match, error);
    }
}

} // namespace Tolvane
