// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GlobalKeys/Name.h"

#include <QKeySequence>

#include <optional>

class QAction;

namespace GlobalKeys {

// Binds a menu action's shortcut to a name: it shows the stored shortcut and follows every change
// (applied on the next event-loop turn). Binding to none clears the shortcut and the link.
void setShortcutName(QAction* action, const std::optional<Name>& name);
std::optional<Name> shortcutName(const QAction* action);

// The key sequence a menu shows for a shortcut (empty when the key has no key equivalent).
QKeySequence menuKeySequence(const Shortcut& shortcut);

} // namespace GlobalKeys
