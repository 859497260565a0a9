// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

class QAction;
class QMenu;

namespace Tolvane {

class ExportedTrayMenuDBus;

// The tray menu exported over dbusmenu, for tray hosts that draw menus themselves (StatusNotifier
// hosts): the same entries in the same order, each acting through the original. Follows the menu
// as rows come and go or change.
class ExportedTrayMenu : public QObject {
    Q_OBJECT
public:
    ExportedTrayMenu(QMenu* source, QObject* parent = nullptr);
    ~ExportedTrayMenu() override;

    // Puts the menu on `path` of the session bus.
    bool publish(const QString& path);
    QMenu* source() const { return source_; }

    // The label a dbusmenu host draws as the widget text `text` shows: dbusmenu marks access keys
    // with '_' and writes a literal one twice; an ampersand is plain text there.
    static QString dbusMenuLabel(const QString& text);

    // What the dbusmenu interface serves; its face on the bus calls these.
    uint revision() const { return revision_; }
    QVariantMap properties(int id) const;
    // Entries below `id` (all are below the root, 0), numbered on first sight.
    QList<int> childIds(int id);
    bool activate(int id);

signals:
    void layoutUpdated(uint revision, int parent);

private:
    int idOf(QAction* action);
    void changed();

    QMenu* source_;
    // What hosts read and call, under the interface's names.
    ExportedTrayMenuDBus* dbus_;
    QHash<QAction*, int> ids_;
    QHash<int, QPointer<QAction>> actions_;
    int nextId_ = 1;
    uint revision_ = 1;
    bool queued_ = false;
    QString path_;
};

} // namespace Tolvane
