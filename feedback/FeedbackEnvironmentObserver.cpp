// SPDX-License-Identifier: GPL-3.0-or-later
#include "FeedbackEnvironmentObserver.h"

#include "platform/MainBundle.h"
#include "platform/Services.h"
#include "platform/SystemInfo.h"

#include <QVariant>

namespace Tellwick {

namespace {

QString bundleText(const QString& key) {
    if (!platform::has<platform::MainBundle>())
        return QStringLiteral("-");
    const QVariant value = platform::get<platform::MainBundle>()->objectForInfoDictionaryKey(key);
    return value.typeId() == QMetaType::QString ? value.toString() : QStringLiteral("-");
}

} // namespace

QString FeedbackEnvironmentObserver::hardwareModel() {
    return platform::get<platform::SystemInfo>()->hardwareModel();
}

QMap<QString, QString> FeedbackEnvironmentObserver::environmentValues() const {
    const auto version = platform::get<platform::SystemInfo>()->operatingSystemVersion();
    return {
        {QStringLiteral("app version"), bundleText(QStringLiteral("CFBundleShortVersionString"))},
        {QStringLiteral("app build"), bundleText(QStringLiteral("CFBundleVersion"))},
        {QStringLiteral("os"),
         QStringLiteral("%1.%2.%3").arg(version.major).arg(version.minor).arg(version.patch)},
        {QStringLiteral("system"), QStringLiteral("Linux")},
        {QStringLiteral("model"), hardwareModel()},
        {QStringLiteral("twk.v"), QStringLiteral("1")},
    };
}

} // namespace Tellwick
