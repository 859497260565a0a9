// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>

// The item's own D-Bus types, for the adaptor generated from org.kde.StatusNotifierItem.xml.
namespace Tolvane::StatusNotifier {

// An icon as the item sends it: width, height and ARGB32 pixels in network byte order (iiay).
struct Pixmap {
    int width = 0;
    int height = 0;
    QByteArray pixels;
};
using Pixmaps = QList<Pixmap>;

// (sa(iiay)ss): icon name, icon pixmaps, title, text.
struct ToolTip {
    QString iconName;
    Pixmaps pixmaps;
    QString title;
    QString text;
};

QDBusArgument& operator<<(QDBusArgument& argument, const Pixmap& pixmap);
const QDBusArgument& operator>>(const QDBusArgument& argument, Pixmap& pixmap);
QDBusArgument& operator<<(QDBusArgument& argument, const ToolTip& tip);
const QDBusArgument& operator>>(const QDBusArgument& argument, ToolTip& tip);

// Before the first property is read over the bus; repeated calls do nothing.
void registerTypes();

} // namespace Tolvane::StatusNotifier

Q_DECLARE_METATYPE(Tolvane::StatusNotifier::Pixmap)
Q_DECLARE_METATYPE(Tolvane::StatusNotifier::ToolTip)
