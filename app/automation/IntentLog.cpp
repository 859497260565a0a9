// SPDX-License-Identifier: GPL-3.0-or-later
#include "IntentLog.h"

#include "platform/MainBundle.h"
#include "platform/Services.h"

#include <QLoggingCategory>

namespace Tolvane {

QByteArray intentLogCategoryName(const char* category) {
    QString appId;
    if (platform::has<platform::MainBundle>())
        appId = platform::get<platform::MainBundle>()->bundleIdentifier();
    // A build without an identifier still logs under the name the app is known by.
    if (appId.isEmpty())
        appId = QStringLiteral("app.tolvane.Tolvane");
    return appId.toUtf8() + '.' + category;
}

void logIntentDebug(const char* category, const char* message) {
    const QByteArray name = intentLogCategoryName(category);
    const QLoggingCategory log(name.constData());
    QMessageLogger().debug(log, "%s", message);
}

} // namespace Tolvane
