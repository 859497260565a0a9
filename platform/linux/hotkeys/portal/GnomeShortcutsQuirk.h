// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QString>

namespace platform::linux_::gnomeShortcutsQuirk {

// GNOME's back end (48) writes a trigger as "Press <Control><Alt>b", the word translated; the keys
// start at the first bracket. Other back ends' texts come back unchanged.
QString triggerKeys(const QString& description);

// Portal 1.19 and later learn a host application's id only from the Registry's Register call, made
// before any other call on the connection, and GNOME refuses the shortcuts of an application without
// one. Older portals lack the interface: nothing to do there.
void registerHostApp(const QDBusConnection& bus, const QString& portalService, const QString& portalPath,
                     const QString& appId);

// GNOME answers a BindShortcuts the user approved with response 2, not 0: a bind counts when its
// answer lists the shortcuts, whatever the code.
inline bool bound(uint /*response*/, bool shortcutsListed) {
    return shortcutsListed;
}

} // namespace platform::linux_::gnomeShortcutsQuirk
