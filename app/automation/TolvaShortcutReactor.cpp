// SPDX-License-Identifier: GPL-3.0-or-later
#include "TolvaShortcutReactor.h"

#include "BrowserCatalogue.h"
#include "BrowserMatch.h"
#include "LaunchServices.h"
#include "SettingsFileWatch.h"
#include "SettingsStore.h"
#include "SwitchFailureNotice.h"
#include "platform/Console.h"

#include "GlobalKeys/GlobalKeys.h"
#include "GlobalKeys/Notifier.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace Tolvane {
namespace {

bool featureOn() {
    return SettingsStore::boolForKey(SettingsStore::toggleBrowser);
}

} // namespace

TolvaShortcutReactor::TolvaShortcutReactor(QObject* parent) : QObject(parent) {
    // Registered once for the life of the process; nothing ever removes it.
    // Desktops that list global shortcuts (the portal's) show this text beside the key.
    GlobalKeys::setDescription(toggleSystemBrowserKeys(), tr("Switch the default browser"));
    GlobalKeys::addKeyUpHandler(toggleSystemBrowserKeys(), &TolvaShortcutReactor::toggleBrowser);
    followSetting();
    // A newly stored shortcut is registered on the spot; with the feature off it must not stay so.
    connect(&GlobalKeys::notifier(), &GlobalKeys::Notifier::shortcutByNameDidChange, this,
            [this](const GlobalKeys::Name& name) {
                if (name == toggleSystemBrowserKeys())
                    followSetting();
            });
    watchSettingsFile(this, [this] { followSetting(); });
}

void TolvaShortcutReactor::followSetting() {
    if (featureOn())
        GlobalKeys::enableShortcuts({toggleSystemBrowserKeys()});
    else
        GlobalKeys::disableShortcuts({toggleSystemBrowserKeys()});
}

const GlobalKeys::Name& TolvaShortcutReactor::toggleSystemBrowserKeys() {
    static const GlobalKeys::Name name(QStringLiteral("toggleSystemBrowserKeys"));
    return name;
}

void TolvaShortcutReactor::toggleBrowser() {
    // A press that raced the setting being switched off.
    if (!featureOn())
        return;
    const auto storedId = SettingsStore::stringForKey(SettingsStore::toggleBrowserId);
    if (!storedId) {
        platform::printLine(QStringLiteral("no predefined browser"));
        return;
    }
    const auto browsers = installedBrowsers();
    const DefaultBrowser* match = browserMatching(browsers, *storedId);
    if (!match) {
        platform::printLine(QStringLiteral("No valid default browser is selected"));
        notifyBrowserGone(storedBrowserName(*storedId));
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
