// SPDX-License-Identifier: GPL-3.0-or-later
// Where a browser keeps the list of its profiles: the family tells the file's shape and the
// argument that opens a link in one profile, the installation (native, Flatpak, snap) its folder.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace platform::linux_ {

class DesktopEntry;

enum class ProfileFamily {
    Firefox,  // profiles.ini; a link goes to a profile with --profile <folder>
    Chromium, // Local State; a link goes to a profile with --profile-directory=<folder>
};

struct ProfileSource {
    ProfileFamily family;
    QString file; // profiles.ini or Local State, which may not exist yet
};

// The profile list of the browser that `entry` starts, when it is one whose profiles are known and
// its command does not already pick a profile of its own.
std::optional<ProfileSource> profileSourceOf(const DesktopEntry& entry);

// Every profile list a known browser can keep in this home, for a cheap look whether any changed.
QStringList knownProfileFiles();

} // namespace platform::linux_
