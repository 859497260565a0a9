// SPDX-License-Identifier: GPL-3.0-or-later
#include "FirstStartNotice.h"

#include "AppDisplayName.h"
#include "platform/Notifications.h"
#include "platform/Paths.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <QSettings>

namespace Tolvane {

namespace {

// In the standard defaults, not the settings suite, which keeps exactly its own keys.
const QString announcedKey = QStringLiteral("firstStart/trayAnnounced");

QString statePath() {
    return platform::tolvaneConfigDir() + QStringLiteral("/tolvane.conf");
}

} // namespace

void announceTrayOnce() {
    if (!platform::has<platform::Notifications>())
        return;
    QSettings state(statePath(), QSettings::IniFormat);
    if (state.value(announcedKey).toBool())
        return;
    const QString name = appDisplayName();
    const QString summary =
        QCoreApplication::translate("Tolvane::FirstStartNotice", "%1 is in the panel's tray").arg(name);
    const QString body =
        QCoreApplication::translate("Tolvane::FirstStartNotice",
                                    "Click its icon to choose the default browser, or to open its settings.");
    if (!platform::get<platform::Notifications>()->notify(summary, body))
        return;
    state.setValue(announcedKey, true);
}

} // namespace Tolvane
