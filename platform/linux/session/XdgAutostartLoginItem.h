// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/LoginItemService.h"

namespace platform::linux_ {

// Login items as an XDG autostart entry under $XDG_CONFIG_HOME/autostart. The entry is the only
// record: present, not hidden and with its program in place means enabled.
class XdgAutostartLoginItem : public LoginItemService {
public:
    // The variable the entry's command sets, so a process can tell it was started at login.
    static constexpr const char* launchMarker = "TOLVANE_LAUNCHED_AS_LOGIN_ITEM";

    // `executable` is what the entry starts. The marker is read (and cleared, so programs this one
    // starts do not inherit it) when the adapter is made.
    XdgAutostartLoginItem(QString appId, QString appName, QString executable);

    Status status() override;
    std::optional<Error> registerItem() override;
    std::optional<Error> unregisterItem() override;
    bool launchedAsLoginItem() override { return launchedAtLogin_; }

    // When the user's entry is on but starts another program than `executable` (the app was moved or
    // started from a new place), points it at `executable`, keeping its arguments. Nothing otherwise.
    std::optional<Error> followExecutable();

    // Where the user's entry lives (follows $XDG_CONFIG_HOME at each call).
    QString entryPath() const;
    // The entry's text for this executable.
    QByteArray entryContent() const;

private:
    QString systemEntryPath() const;

    QString appId_;
    QString appName_;
    QString executable_;
    bool launchedAtLogin_ = false;
};

} // namespace platform::linux_
