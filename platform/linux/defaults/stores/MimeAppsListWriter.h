// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DefaultStoreWriter.h"
#include "platform/linux/xdg/KeyFileLines.h"

namespace platform::linux_ {

// Puts `id` first for each type in [Default Applications] and [Added Associations] and takes it out
// of [Removed Associations]; with `onlyExisting` only keys the file already has are touched, so a
// list is brought in line without widening what it overrides.
void preferInMimeAppsList(KeyFileLines& lines, const QStringList& types, const QString& id,
                          bool onlyExisting);

// Whether GLib's loader takes the whole key file at `path`; else `why` names the file and the line.
bool glibLoads(const QString& path, QString* why);

// The user's mimeapps.list, which every desktop's lookup reads (created when missing).
class MimeAppsListWriter : public DefaultStoreWriter {
public:
    bool plan(const DefaultSwitch& change, FilePlan& files) override;
    // As this session's lookup reads it (its desktop-specific lists first).
    bool readBack(const DefaultSwitch& change, QString* why) const override;
};

} // namespace platform::linux_
