// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WindowScene.h"

#include <QObject>
#include <QPoint>

#include <chrono>
#include <memory>

class QSystemTrayIcon;
class QTimer;

namespace Tolvane {

class MenuBarContent;
class StatusNotifierItem;
class TolvaShortcutReactor;

// The application: the settings scene, the tray item with its menu, the feedback window,
// and the shortcut reactor that lives as long as the process.
class TolvaApp : public QObject {
    Q_OBJECT
public:
    // `startedAtLogin`: started by the session, which may bring its tray host up later; without one
    // it waits quietly. Started by the user, it opens the no-tray window once `trayGrace` passes
    // without a tray host.
    explicit TolvaApp(bool startedAtLogin = false,
                      std::chrono::milliseconds trayGrace = std::chrono::seconds(3),
                      QObject* parent = nullptr);
    ~TolvaApp() override;

    MenuBarContent* menuContent() const { return menu_.get(); }
    QSystemTrayIcon* trayIcon() const { return tray_; }
    WindowScene& settingsScene() { return settings_; }
    WindowScene& feedbackScene() { return feedback_; }
    WindowScene& noTrayScene() { return noTray_; }

    void openSettings();
    void openFeedback();
    void openAbout();
    // Pops the menu up at the pointer (a left click on the XEmbed icon), or at `pos` (where a
    // StatusNotifier host says its icon is). Not on Wayland, where only the host can place a menu.
    void popUpMenu();
    void popUpMenuAt(QPoint pos);
    // Tolvane was started again: the user is looking for it.
    void activate();
    // The tooltip names the default browser: read it again (the desktop's default may have changed).
    void updateToolTip();

private:
    void showTrayWhenHostExists(bool startedAtLogin, std::chrono::milliseconds trayGrace);
    // Shows the icon on whichever tray is there now, closing the no-tray window once one is.
    void followTrayHosts();
    bool trayShown() const;

    WindowScene settings_;
    std::unique_ptr<MenuBarContent> menu_;
    std::unique_ptr<StatusNotifierItem> statusNotifier_;
    WindowScene feedback_;
    WindowScene noTray_;
    std::unique_ptr<TolvaShortcutReactor> shortcutReactor_;
    QSystemTrayIcon* tray_ = nullptr;
    QTimer* trayWait_ = nullptr;
};

} // namespace Tolvane
