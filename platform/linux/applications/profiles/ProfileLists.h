// SPDX-License-Identifier: GPL-3.0-or-later
// The profiles a browser's own list names, read from the files Firefox and Chromium write.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace platform::linux_ {

struct FoundProfile {
    QString key;  // what the browser's profile argument takes: Firefox's name, Chromium's folder
    QString name; // as the browser shows it
};

struct ProfileList {
    QList<FoundProfile> profiles; // by name; the ones the browser made for itself left out
    QString problem;              // why the file was not understood, or empty
};

// profiles.ini. A new home gets two entries, the profile this installation uses and an older
// "default" that no installation uses: the latter is not counted.
ProfileList readFirefoxProfiles(const QByteArray& content);
// Local State: profile.info_cache maps each profile's folder to its name.
ProfileList readChromiumProfiles(const QByteArray& content);

} // namespace platform::linux_
