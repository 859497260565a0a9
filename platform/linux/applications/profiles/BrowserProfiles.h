// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ProfileHomes.h"
#include "ProfileLists.h"
#include "platform/linux/xdg/DesktopEntry.h"
#include "platform/linux/xdg/FileStamp.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>

#include <functional>
#include <optional>

namespace platform::linux_ {

// One profile offered as a choice of its own.
struct ProfileChoice {
    QString id;          // the desktop-file ID of its entry
    QString path;        // where that entry lives, written or not yet
    QString browserId;   // the browser's desktop-file ID
    QString browserPath; // the browser's entry file
    QString name;        // "Browser — Profile"
    QByteArray entry;    // the entry's content
    QString legacyId;    // the ID older versions gave it (from the profile's name), while that name
                         // holds; empty when it is `id`
};

// The profiles users made in their installed browsers, as choices. A browser with fewer than two
// offers none: it opens its only profile anyway. The browsers' lists are read again only when
// their files change.
class BrowserProfiles {
public:
    // Larger lists are no browser's: Local State holds a few hundred kilobytes.
    static constexpr qint64 maxFileSize = 16 * 1024 * 1024;

    using Installed = std::function<QList<InstalledEntry>()>;
    // `installed` lists the usable entries, to find a profile not listed yet; file times within
    // `settleNs` of now do not prove a file unchanged.
    BrowserProfiles(Installed installed, qint64 settleNs);

    QList<ProfileChoice> of(const InstalledEntry& browser);
    // The choice whose entry lives, or would live, at `path` (also under its legacy ID).
    std::optional<ProfileChoice> atPath(const QString& path);
    // The choice with desktop-file ID `id`: the exact spelling first, else any case, else the ID an
    // older version gave it.
    std::optional<ProfileChoice> withId(const QString& id);
    // A value that changes whenever a profile list may have; empty while a file changed too
    // recently for its times to show the next change.
    QByteArray stamp();

private:
    struct Read {
        FileStamp stamp;
        ProfileList list;
    };
    ProfileList listAt(const ProfileSource& source);
    QList<ProfileChoice> allChoices();

    const Installed installed_;
    const qint64 settleNs_;
    QMutex mutex_;
    QHash<QString, Read> read_;                  // list file → what it held
    QHash<QString, ProfileChoice> listedByPath_; // the latest choices made
};

} // namespace platform::linux_
