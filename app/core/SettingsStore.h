// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace Tolvane {

// The "group.tolva" preferences suite. Every call opens it anew, so readers never see a stale value.
namespace SettingsStore {

inline const QString suiteName = QStringLiteral("group.tolva");
inline const QString autoConfirmChange = QStringLiteral("settings.autoConfirmChange");
inline const QString showBrowserVersion = QStringLiteral("settings.settingsShowBrowserVersion");
inline const QString toggleBrowser = QStringLiteral("settings.settingsToggleBrowser");
inline const QString toggleBrowserId = QStringLiteral("settings.settingsToggleBrowserId");

// Where the suite lives: <config home>/tolvane/group.tolva.conf.
QString filePath();

// False when absent or unreadable.
bool boolForKey(const QString& key);
// False when absent, none when the suite cannot be read: for a choice that must not be guessed.
std::optional<bool> readableBoolForKey(const QString& key);
// None when absent or unreadable.
std::optional<QString> stringForKey(const QString& key);

// Both return false when the value could not be written.
bool setBool(const QString& key, bool value);
bool setString(const QString& key, const QString& value);

} // namespace SettingsStore
} // namespace Tolvane
