// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace platform::linux_ {

// The lower-cased components of XDG_CURRENT_DESKTOP, in order.
QStringList currentDesktops();

// Every mimeapps.list a reader consults, most important first: for the user's config folder,
// the system config folders, the user's and the system's applications folders, each
// "<desktop>-mimeapps.list" (per current desktop) before "mimeapps.list".
QStringList mimeAppsListFiles();
QStringList mimeAppsListFiles(const QStringList& desktops);

// The default application (desktop-file ID) for `mimeType` as the MIME Applications rules read
// it: the first installed ID of [Default Applications], looking through the files in order.
std::optional<QString> defaultApplication(const QString& mimeType,
                                          const std::function<bool(const QString& id)>& isInstalled);
// The same as a session of `desktops` reads it, whatever desktop this process runs in.
std::optional<QString> defaultApplication(const QString& mimeType,
                                          const std::function<bool(const QString& id)>& isInstalled,
                                          const QStringList& desktops);

} // namespace platform::linux_
