#include "SwitchFailureNotice.h"

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

} // namespace Tolvane
