// SPDX-License-Identifier: GPL-3.0-or-later
// XFCE's preferred applications as its openers (exo-open) read them: helpers.rc names a helper,
// the helper file says which command runs.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace platform::linux_ {

class DesktopEntry;

// WebBrowser from the first helpers.rc that sets it, the user's first.
std::optional<QString> xfcePreferredWebBrowser();
// The helper file of that name XFCE uses: the first xfce4/helpers/<name>.desktop in the data folders.
std::optional<QString> xfceHelperPath(const QString& name);
// The commands a helper runs, with "%B" as the first of its programs that is installed.
QStringList xfceHelperCommands(const DesktopEntry& helper);
// A web browser helper that only hands the link back to the preferred browser: chosen, it runs itself.
bool xfceHelperLoops(const QString& path);

} // namespace platform::linux_
