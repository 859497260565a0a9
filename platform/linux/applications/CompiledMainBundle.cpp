// SPDX-License-Identifier: GPL-3.0-or-later
#include "CompiledMainBundle.h"

#include "BuildInfo.h"

#include <QCoreApplication>

namespace platform::linux_ {

QVariant CompiledMainBundle::objectForInfoDictionaryKey(const QString& key) {
    if (key == "CFBundleDisplayName")
        return QStringLiteral(TOLVANE_DISPLAY_NAME);
    if (key == "CFBundleName")
        return QStringLiteral(TOLVANE_BUNDLE_NAME);
    if (key == "CFBundleShortVersionString")
        return QStringLiteral(TOLVANE_VERSION);
    if (key == "CFBundleVersion")
        return QStringLiteral(TOLVANE_BUILD_NUMBER);
    if (key == "NSHumanReadableCopyright")
        return QCoreApplication::translate("MainBundle", "Copyright © %1. License: %2.")
            .arg(QStringLiteral(TOLVANE_COPYRIGHT), QStringLiteral(TOLVANE_LICENSE));
    if (key == "CFBundleIdentifier")
        return QStringLiteral(TOLVANE_APP_ID);
    return {};
}

QString CompiledMainBundle::bundleIdentifier() {
    return QStringLiteral(TOLVANE_APP_ID);
}

} // namespace platform::linux_
