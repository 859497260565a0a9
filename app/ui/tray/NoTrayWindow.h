// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QVBoxLayout;

namespace Tolvane {

class MenuBarContent;

// Where the desktop shows no tray icons, the tray menu's entries in a small window, with a line
// saying why. It acts through the menu's own actions and follows its rows.
class NoTrayWindow : public QWidget {
    Q_OBJECT
public:
    explicit NoTrayWindow(MenuBarContent* content, QWidget* parent = nullptr);

private:
    void rebuild();

    MenuBarContent* content_;
    QWidget* entries_ = nullptr;
    QVBoxLayout* layout_ = nullptr;
};

} // namespace Tolvane
