// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DefaultStoreWriter.h"

namespace platform::linux_ {

// Every "<desktop>-mimeapps.list" in the user's config folder: inside that desktop it is read before
// mimeapps.list, so each one that names a switched type follows the switch, whichever desktop (or
// none, over SSH or from cron) the switch runs in. Keys a list does not name are left to mimeapps.list.
class DesktopMimeAppsListsWriter : public DefaultStoreWriter {
public:
    bool plan(const DefaultSwitch& change, FilePlan& files) override;
    // As a session of each of those desktops reads it.
    bool readBack(const DefaultSwitch& change, QString* why) const override;

private:
    // Desktop name (lower case, as XDG_CURRENT_DESKTOP's lookups spell it) → its list.
    static QList<std::pair<QString, QString>> desktopLists();
};

} // namespace platform::linux_
