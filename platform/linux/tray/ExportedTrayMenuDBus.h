// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DBusMenuTypes.h"

#include <QObject>
#include <QStringList>

namespace Tolvane {

class ExportedTrayMenu;

// The exported menu under the names of com.canonical.dbusmenu, for the adaptor generated from the
// interface's XML beside it: properties read here, calls answered from the menu, signals relayed.
class ExportedTrayMenuDBus : public QObject {
    Q_OBJECT
    Q_PROPERTY(uint Version READ version CONSTANT)
    Q_PROPERTY(QString TextDirection READ textDirection)
    Q_PROPERTY(QString Status READ status CONSTANT)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath CONSTANT)
public:
    explicit ExportedTrayMenuDBus(ExportedTrayMenu* menu);

    uint version() const { return 3; }
    QString textDirection() const;
    QString status() const { return QStringLiteral("normal"); }
    QStringList iconThemePath() const { return {}; }

    // Every property is sent whatever the host asks for; the interface allows that.
    uint GetLayout(int parentId, int recursionDepth, const QStringList&, DBusMenu::Layout& layout);
    QList<DBusMenu::Item> GetGroupProperties(const QList<int>& ids, const QStringList&);
    QDBusVariant GetProperty(int id, const QString& name);
    void Event(int id, const QString& eventId, const QDBusVariant&, uint);
    QList<int> EventGroup(const QList<DBusMenu::Event>& events);
    // The menu is kept current as it changes, so opening it never needs an update first.
    bool AboutToShow(int) { return false; }
    QList<int> AboutToShowGroup(const QList<int>&, QList<int>& idErrors);

signals:
    void LayoutUpdated(uint revision, int parent);
    void ItemActivationRequested(int id, uint timestamp);

private:
    DBusMenu::Layout layoutOf(int id, int depth) const;

    ExportedTrayMenu* menu_;
};

} // namespace Tolvane
