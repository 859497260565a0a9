// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DefaultStoreWriter.h"

namespace platform::linux_ {

// XFCE's preferred web browser: its openers (exo-open, and xdg-open and xdg-settings through it)
// launch the helper named by WebBrowser in xfce4/helpers.rc, the user's file over the system's,
// not the mimeapps lists' default. Where XFCE runs or that setting exists, the user's helpers.rc
// names the switch's application as xdg-settings does (its desktop-file ID without ".desktop"),
// and a helper of that name (xfce4/helpers/<name>.desktop) is written when none is installed or
// the installed one loops. A helper never runs an entry that hands the link back to the preferred
// browser, and such looping helpers are removed from the user's folder.
class XfceHelpersWriter : public DefaultStoreWriter {
public:
    bool plan(const DefaultSwitch& change, FilePlan& files) override;
    bool readBack(const DefaultSwitch& change, QString* why) const override;

    // The helper's commands for an entry's Exec: without the URL and with it (as "%s").
    static QString helperCommand(const QString& exec, bool withParameter);
    // A web browser helper that runs `execText` (an Exec value, string escapes undone).
    static QByteArray helperText(const QString& name, const QString& icon, const QString& execText);

private:
    bool used_ = false;
};

} // namespace platform::linux_
