// SPDX-License-Identifier: GPL-3.0-or-later
#include "PermissionsHelper.h"

#include "AppDisplayName.h"
#include "platform/Accessibility.h"
#include "platform/Alert.h"
#include "platform/Services.h"

#include <QCoreApplication>

namespace Tolvane {

bool PermissionsHelper::ensureAccessibilityPermission() {
    auto accessibility = platform::get<platform::Accessibility>();
    if (accessibility->isProcessTrusted(false))
        return true;

    platform::AlertRequest alert;
    alert.messageText =
        localizedString(QT_TRANSLATE_NOOP("Tolvane", "Accessibility Request: Title"),
                        appDisplayName() + QStringLiteral(" Needs Accessibility Permissions"));
    alert.informativeText = localizedString(
        QT_TRANSLATE_NOOP("Tolvane", "Accessibility Request: Content"),
        QStringLiteral("Please grant access to be able to confirm the default browser change in Settings > "
                       "Privacy & Security > Accessibility."));
    platform::get<platform::Alert>()->runModal(alert);

    return accessibility->isProcessTrusted(true);
}

} // namespace Tolvane
