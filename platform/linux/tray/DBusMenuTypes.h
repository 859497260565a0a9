// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusArgument>
#include <QDBusVariant>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

// The menu's own D-Bus types, for the adaptor generated from com.canonical.dbusmenu.xml.
namespace Tolvane::DBusMenu {

// One entry with its children, as GetLayout sends it: (ia{sv}av).
struct Layout {
    int id = 0;
    QVariantMap properties;
    QList<QDBusVariant> children;
};

// One entry's properties: (ia{sv}).
struct Item {
    int id = 0;
    QVariantMap properties;
};

// One event of EventGroup: (isvu).
struct Event {
    int id = 0;
    QString eventId;
    QDBusVariant data;
    uint timestamp = 0;
};

QDBusArgument& operator<<(QDBusArgument& argument, const Layout& layout);
const QDBusArgument& operator>>(const QDBusArgument& argument, Layout& layout);
QDBusArgument& operator<<(QDBusArgument& argument, const Item& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, Item& item);
QDBusArgument& operator<<(QDBusArgument& argument, const Event& event);
const QDBusArgument& operator>>(const QDBusArgument& argument, Event& event);

// Before the first call arrives over the bus; repeated calls do nothing.
void registerTypes();

} // namespace Tolvane::DBusMenu

Q_DECLARE_METATYPE(Tolvane::DBusMenu::Layout)
Q_DECLARE_METATYPE(Tolvane::DBusMenu::Item)
Q_DECLARE_METATYPE(Tolvane::DBusMenu::Event)
