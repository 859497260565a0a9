// SPDX-License-Identifier: GPL-3.0-or-later
// The profiles a browser's own list names, read from the files Firefox and Chromium write.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace platform::linux_ {

// A profile is the folder it lives in: its name can change, and may read as anything.
struct FoundProfile {
    QString key;       // its folder as the profile argument takes it: Firefox's whole path, Chromium's
                       // folder in the browser's data folder
    QString name;      // as the browser shows it
    QString legacyKey; // what Firefox profiles were once told apart by (their name); else empty
};

struct ProfileList {
    QList<FoundProfile> profiles; // by name; the ones the browser made for itself left out
    QString problem;              // why the file was not understood, or empty
};

// profiles.ini, which lives in `folder`. A new home gets two entries, the profile this installation uses
// and an older "default" that no installation uses: the latter is not counted.
ProfileList readFirefoxProfiles(const QByteArray& content, const QString& folder);
// Local State: profile.info_cache maps each profile's folder to its name.
ProfileList readChromiumProfiles(const QByteArray& content);

} // namespace platform::linux_
