#pragma once

#include <QObject>

class QAction;
class QMenu;

namespace Tolvane {

// The tray menu as a host that draws menus itself receives it (StatusNotifier hosts, over
// dbusmenu): the same entries in the same order, each acting through the original, with labels
// in that host's mnemonic syntax. Follows the original as rows come and go.
class ExportedTrayMenu : public QObject {
    Q_OBJECT
public:
    explicit ExportedTrayMenu(QMenu* source, QObject* parent = nullptr);
    ~ExportedTrayMenu() override;

    QMenu* menu() const { return menu_; }

private:
    void rebuild();
    QAction* mirror(QAction* original);

    QMenu* source_;
    QMenu* menu_;
};

} // namespace Tolvane
