// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DefaultBrowser.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QMenu;

namespace Tolvane {

// The tray menu: Quit, Settings, Send Feedback, About, the browser list and Refresh list.
// The list is a snapshot taken at creation and re-read only on refresh and after a switch.
class MenuBarContent : public QObject {
    Q_OBJECT
public:
    // `plainRows`: the tray host draws the menu itself, so rows carry their version as plain text.
    explicit MenuBarContent(bool plainRows = false, QObject* parent = nullptr);
    ~MenuBarContent() override;

    QMenu* menu() const { return menu_; }
    const QList<DefaultBrowser>& browsers() const { return browsers_; }
    bool showVersions() const { return showVersions_; }
    // The actions of the browser rows, in list order.
    QList<QAction*> browserActions() const { return rowActions_; }

    void reloadBrowsers();
    void selectBrowser(const DefaultBrowser& browser);

signals:
    void settingsRequested();
    void feedbackRequested();
    void aboutRequested();

private:
    void rebuildRows();

    QMenu* menu_;
    QAction* heading_ = nullptr;
    QAction* listEnd_ = nullptr;
    QList<QAction*> rowActions_;
    QList<DefaultBrowser> browsers_;
    bool showVersions_ = false;
    bool plainRows_ = false;
};

} // namespace Tolvane
