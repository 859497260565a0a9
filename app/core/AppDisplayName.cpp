// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppDisplayName.h"

#include "platform/MainBundle.h"
#include "platform/Services.h"

#include <QCoreApplication>

namespace Tolvane {

QString appDisplayName() {
    auto bundle = platform::get<platform::MainBundle>();
    for (const char* key : {"CFBundleDisplayName", "CFBundleName"}) {
        const QVariant value = bundle->objectForInfoDictionaryKey(QString::fromLatin1(key));
        if (value.typeId() == QMetaType::QString)
            return value.toString();
    }
    return QStringLiteral("⚠️");
}

QString localizedString(const char* key, const QString& defaultValue) {
    const QString translated = QCoreApplication::translate("Tolvane", key);
    return translated == QString::fromUtf8(key) ? defaultValue : translated;
}

} // namespace Tolvane
