// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserNameMemory.h"

#include "platform/Paths.h"

#include <QSettings>

namespace Tolvane {

namespace {

// Beside the settings, not in them: the settings suite keeps exactly its own keys.
QString memoryPath() {
    return platform::tolvaneConfigDir() + QStringLiteral("/browser-names.conf");
}

// Desktop-file IDs may hold characters QSettings reads as group separators.
QString keyFor(const QString& bundleId) {
    return QStringLiteral("names/") + QString::fromLatin1(bundleId.toUtf8().toPercentEncoding());
}

} // namespace

void rememberBrowserNames(const QList<DefaultBrowser>& browsers) {
    QSettings memory(memoryPath(), QSettings::IniFormat);
    for (const DefaultBrowser& browser : browsers) {
        const QString key = keyFor(browser.bundleId);
        if (!browser.appName.isEmpty() && memory.value(key).toString() != browser.appName)
            memory.setValue(key, browser.appName);
    }
}

std::optional<QString> rememberedBrowserName(const QString& bundleId) {
    const QSettings memory(memoryPath(), QSettings::IniFormat);
    const QString name = memory.value(keyFor(bundleId)).toString();
    if (name.isEmpty())
        return std::nullopt;
    return name;
}

} // namespace Tolvane
