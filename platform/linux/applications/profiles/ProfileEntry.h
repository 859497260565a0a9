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
// The script a profile's entry runs (`entryId` ends in ".desktop"): the browser's command with the
// profile's words, one word for openers that keep only an Exec line's first word (exo 4.20).
QString profileScriptPath(const QString& entryId);
// "tolvane-profile-<hash>.desktop", the hash of the browser's ID and the profile's folder (FoundProfile::
// key), so that a renamed profile keeps its ID. Nothing in it may read as a browser's name, as Python's
// webbrowser runs a browser whose name it finds in the default's ID, without the profile.
QString profileEntryId(const QString& browserId, const QString& profileKey);
// Whether `entry` is one Tolvane wrote for a profile.
bool isProfileEntry(const DesktopEntry& entry);
// The words that make `family`'s browser open a link in `profile`, also while another runs: the
// profile named by its folder, in words no part of which can read as an option.
QStringList profileArguments(ProfileFamily family, const FoundProfile& profile);
// The entry for `profile` of `browser`, shown as `shownName`; none when the browser's command cannot
// be read. It runs the profile's script (profileScriptPath), written with it.
std::optional<QByteArray> profileEntryText(const InstalledEntry& browser, ProfileFamily family,
                                           const FoundProfile& profile, const QString& shownName);
// The browser command an entry runs (string escapes undone): for Tolvane's own profile entries
// the browser's with the profile's words, not the script's.
std::optional<QString> browserCommand(const DesktopEntry& entry);
// The option of this program that runs a profile entry's browser command: entries written by
// earlier versions run it.
inline constexpr const char* launchProfileOption = "--launch-profile";
// Runs the browser command of Tolvane's profile entry `id` for `urls`, in place of this process;
// returns only on failure, with the reason on standard error.
int launchProfileEntry(const QString& id, const QStringList& urls);

} // namespace platform::linux_
