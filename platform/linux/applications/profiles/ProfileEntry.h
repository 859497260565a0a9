// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop entry Tolvane writes for one browser profile: the browser's own entry with the
// profile's argument added, hidden from menus, so that every link opener can be pointed at it.
#pragma once

#include "ProfileHomes.h"
#include "ProfileLists.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace platform::linux_ {

struct InstalledEntry;
class DesktopEntry;

// The folder Tolvane's profile entries live in: the user's own applications folder.
QString profileEntriesFolder();
// "tolvane-profile-<browser>-<profile>.desktop", with characters an ID may not hold replaced
// and a short hash of the profile's key added when any was.
QString profileEntryId(const QString& browserId, const QString& profileKey);
// Whether `entry` is one Tolvane wrote for a profile.
bool isProfileEntry(const DesktopEntry& entry);
// The words that make `family`'s browser open a link in `profile`, also while another runs.
QStringList profileArguments(ProfileFamily family, const FoundProfile& profile);
// The entry for `profile` of `browser`, shown as `shownName`; none when the browser's command cannot
// be read.
std::optional<QByteArray> profileEntryText(const InstalledEntry& browser, ProfileFamily family,
                                           const FoundProfile& profile, const QString& shownName);

} // namespace platform::linux_
