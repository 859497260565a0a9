// SPDX-License-Identifier: GPL-3.0-or-later
// A Wayland compositor lets a window take the focus only with a token of the user's action: this is
// where Tolvane keeps the ones it is handed and asks for the ones it hands on.
#pragma once

#include <QByteArray>
#include <QString>

class QWindow;

namespace Tolvane::XdgActivation {

// Keeps the activation token a tray host handed over with a click, so that the window the click
// opens may take the focus: a Wayland compositor gives it only to a request carrying a token of
// the user's action. The next window Tolvane activates uses it (Qt takes it from the environment
// and clears it); a newer token replaces an unused one. Nothing to do where no token is needed.
void offer(const QString& token);

// A new token from the compositor, on behalf of `focused` (our window the user just answered in)
// and its last input, for the program with the desktop file ID `appId` to take the focus with.
// Empty where Qt does not run on Wayland, the compositor offers no activation, or it answers
// nothing within a few round trips. Qt's public API has no such call: this asks the compositor
// on a queue of its own over Qt's connection.
QByteArray freshToken(QWindow* focused, const QString& appId);

} // namespace Tolvane::XdgActivation
