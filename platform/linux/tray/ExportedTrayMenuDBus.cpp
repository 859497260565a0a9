// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExportedTrayMenuDBus.h"

#include "DBusMenuAdaptor.h"
#include "ExportedTrayMenu.h"

#include <QMenu>

namespace Tolvane {

ExportedTrayMenuDBus::ExportedTrayMenuDBus(ExportedTrayMenu* menu) : QObject(menu), menu_(menu) {
    DBusMenu::registerTypes();
    new DBusMenuAdaptor(this);
    connect(menu, &ExportedTrayMenu::layoutUpdated, this, &ExportedTrayMenuDBus::LayoutUpdated);
}

QString ExportedTrayMenuDBus::textDirection() const {
    return menu_->source()->layoutDirection() == Qt::RightToLeft ? QStringLiteral("rtl")
                                                                 : QStringLiteral("ltr");
}

uint ExportedTrayMenuDBus::GetLayout(int parentId, int recursionDepth, const QStringList&,
                                     DBusMenu::Layout& layout) {
    layout = layoutOf(parentId, recursionDepth);
    return menu_->revision();
}

QList<DBusMenu::Item> ExportedTrayMenuDBus::GetGroupProperties(const QList<int>& ids, const QStringList&) {
    QList<DBusMenu::Item> items;
    for (int id : ids)
        items << DBusMenu::Item{id, menu_->properties(id)};
    return items;
}

QDBusVariant ExportedTrayMenuDBus::GetProperty(int id, const QString& name) {
    return QDBusVariant(menu_->properties(id).value(name));
}

void ExportedTrayMenuDBus::Event(int id, const QString& eventId, const QDBusVariant&, uint) {
    if (eventId == QLatin1String("clicked"))
        menu_->activate(id);
}

QList<int> ExportedTrayMenuDBus::EventGroup(const QList<DBusMenu::Event>& events) {
    QList<int> unknown;
    for (const DBusMenu::Event& event : events) {
        if (event.eventId != QLatin1String("clicked"))
            continue;
        if (!menu_->activate(event.id))
            unknown << event.id;
    }
    return unknown;
}

QList<int> ExportedTrayMenuDBus::AboutToShowGroup(const QList<int>&, QList<int>& idErrors) {
    idErrors.clear();
    return {};
}

DBusMenu::Layout ExportedTrayMenuDBus::layoutOf(int id, int depth) const {
    DBusMenu::Layout layout{id, menu_->properties(id), {}};
    if (depth == 0)
        return layout;
    for (int child : menu_->childIds(id))
        layout.children << QDBusVariant(QVariant::fromValue(layoutOf(child, depth - 1)));
    return layout;
}

} // namespace Tolvane
