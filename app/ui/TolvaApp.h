#pragma once

#include "WindowScene.h"

#include <QObject>

#include <memory>

class QSystemTrayIcon;
class QTimer;

namespace Tolvane {

class ExportedTrayMenu;
class MenuBarContent;
class TolvaShortcutReactor;

// The application: the settings scene, the tray item with its menu, the feedback window,
// and the shortcut reactor that lives as long as the process.
class TolvaApp : public QObject {
    Q_OBJECT
public:
    explicit TolvaApp(QObject* parent = nullptr);
    ~TolvaApp() override;

    MenuBarContent* menuContent() const { return menu_.get(); }
    QSystemTrayIcon* trayIcon() const { return tray_; }
    WindowScene& settingsScene() { return settings_; }
    WindowScene& feedbackScene() { return feedback_; }

    void openSettings();
    void openFeedback();
    void openAbout();
    // Pops the menu up at the pointer (a left click on the tray icon).
    void popUpMenu();

private:
    void showTrayWhenHostExists();

    WindowScene settings_;
    std::unique_ptr<MenuBarContent> menu_;
    std::unique_ptr<ExportedTrayMenu> exported_;
    WindowScene feedback_;
    std::unique_ptr<TolvaShortcutReactor> shortcutReactor_;
    QSystemTrayIcon* tray_ = nullptr;
    QTimer* trayWait_ = nullptr;
};

} // namespace Tolvane
