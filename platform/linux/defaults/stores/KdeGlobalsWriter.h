// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DefaultStoreWriter.h"

namespace platform::linux_ {

// KDE's own browser setting, [General] BrowserApplication in kdeglobals: where it is set (in the
// user's file or in a system one from XDG_CONFIG_DIRS) KDE's openers use it instead of the mimeapps
// lists, so the user's kdeglobals then carries the switch's desktop-file ID.
class KdeGlobalsWriter : public DefaultStoreWriter {
public:
    bool plan(const DefaultSwitch& change, FilePlan& files) override;
    bool readBack(const DefaultSwitch& change, QString* why) const override;

private:
    bool used_ = false;
};

} // namespace platform::linux_
