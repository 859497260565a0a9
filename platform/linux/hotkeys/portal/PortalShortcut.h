// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

namespace platform::linux_ {

// One entry of the GlobalShortcuts portal's (sa{sv}) lists: an id and its properties
// ("description", "preferred_trigger", "trigger_description").
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};
using PortalShortcuts = QList<PortalShortcut>;

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);

// Registers the types with Qt D-Bus; idempotent.
void registerPortalShortcutTypes();

} // namespace platform::linux_

Q_DECLARE_METATYPE(platform::linux_::PortalShortcut)
Q_DECLARE_METATYPE(platform::linux_::PortalShortcuts)
