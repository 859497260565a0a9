// SPDX-License-Identifier: GPL-3.0-or-later
// Tolvane's handler of web links as the desktops see it: a hidden entry that runs a small script in
// the user's data folder. The script starts Tolvane while it is where it was, and the chosen
// browser once it is gone, so that removing or moving the program never loses a link: a package's
// removal may not touch the homes these files live in.
#pragma once

#include "platform/linux/xdg/ExecScript.h"
#include "platform/linux/xdg/FilePlan.h"

#include <QByteArray>
#include <QString>

namespace platform::linux_ {

// The handler entry's desktop-file ID.
inline const QString routerEntryId = QStringLiteral("app.tolvane.Tolvane.Router.desktop");

// Where the handler entry is written: the user's applications folder.
QString routerEntryPath();
// The script the entry runs.
QString routerScriptPath();

// The handler entry's text: it runs the script with the links.
QByteArray routerEntryText();

// Plans the handler entry and its script: `program` (the tolvane command) with --open while it is
// there, else `fallbackCommand` (the chosen browser's own command as its Exec has it, string
// escapes undone; for a profile the browser's with the profile's words). With no fallback the
// system's x-www-browser stands in. Also rewrites the user's XFCE helper for the entry when one
// exists, as earlier versions wrote it. False with `error` when a file cannot be read.
bool planRouterFiles(FilePlan& plan, const QString& program, const QString& fallbackCommand, QString* error);

// Whether the written files are what planRouterFiles() would write now: false after the program
// moved, the chosen browser changed, or a file was lost or edited.
bool routerFilesCurrent(const QString& program, const QString& fallbackCommand);

} // namespace platform::linux_
