// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsStore.h"

#include "platform/Paths.h"

#include <QDir>
#include <QSettings>

namespace Tolvane::SettingsStore {
namespace {

bool write(const QString& key, const QVariant& value) {
    QDir().mkpath(platform::tolvaneConfigDir());
    QSettings suite(filePath(), QSettings::IniFormat);
    suite.setValue(key, value);
    suite.sync();
    return suite.status() == QSettings::NoError;
}

} // namespace

QString filePath() {
    return platform::tolvaneConfigDir() + "/" + suiteName + ".conf";
}

bool boolForKey(const QString& key) {
    QSettings suite(filePath(), QSettings::IniFormat);
    return suite.status() == QSettings::NoError && suite.value(key, false).toBool();
}

std::optional<bool> readableBoolForKey(const QString& key) {
    QSettings suite(filePath(), QSettings::IniFormat);
    if (suite.status() != QSettings::NoError)
        return std::nullopt;
    return suite.value(key, false).toBool();
}

std::optional<QString> stringForKey(const QString& key) {
    QSettings suite(filePath(), QSettings::IniFormat);
    if (suite.status() != QSettings::NoError || !suite.contains(key))
        return std::nullopt;
    const QVariant value = suite.value(key);
    if (!value.canConvert<QString>())
        return std::nullopt;
    return value.toString();
}

bool setBool(const QString& key, bool value) {
    return write(key, value);
}

bool setString(const QString& key, const QString& value) {
    return write(key, value);
}

} // namespace Tolvane::SettingsStore
