#include "TolvaApp.h"

#include "AboutAction.h"
#include "AppDisplayName.h"
#include "Assets.h"
#include "ExportedTrayMenu.h"
#include "FeedbackWindow.h"
#include "MenuBarContent.h"
#include "NoTrayWindow.h"
#include "SettingsWindow.h"
#include "TolvaShortcutReactor.h"
#include "TrayHost.h"

#include <QCursor>
#include <QLoggingCategory>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

Q_LOGGING_CATEGORY(lcApp, "app.tolvane.Tolvane.app")

namespace Tolvane {

TolvaApp::TolvaApp(bool startedAtLogin, std::chrono::milliseconds trayGrace, QObject* parent)
    : QObject(parent), settings_(QStringLiteral("com.tolvane.settings"), [] { return new SettingsWindow; }),
      feedback_(QStringLiteral("com.tellwick.sendFeedback"), [] { return new FeedbackWindow; }),
      noTray_(QStringLiteral("app.tolvane.Tolvane.noTray"),
              [this] { return new NoTrayWindow(menu_.get()); }) {
    // Setting the scenes up creates the reactor; its shortcut is live from here on.
    shortcutReactor_ = std::make_unique<TolvaShortcutReactor>();

    const bool hostDrawsMenu = TrayHost::drawsMenuItself();
    menu_ = std::make_unique<MenuBarContent>(hostDrawsMenu);
    connect(menu_.get(), &MenuBarContent::settingsRequested, this, &TolvaApp::openSettings);
    connect(menu_.get(), &MenuBarContent::feedbackRequested, this, &TolvaApp::openFeedback);
    connect(menu_.get(), &MenuBarContent::aboutRequested, this, &TolvaApp::openAbout);

    tray_ = new QSystemTrayIcon(Assets::image(QStringLiteral("browser")), this);
    tray_->setToolTip(appDisplayName());
    // A host that draws the menu itself gets labels in its own syntax; the left-click popup stays ours.
    if (hostDrawsMenu)
        exported_ = std::make_unique<ExportedTrayMenu>(menu_->menu());
    tray_->setContextMenu(exported_ ? exported_->menu() : menu_->menu());
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // The context menu opens on a right click by itself; a left click opens it too.
        if (reason == QSystemTrayIcon::Trigger)
            popUpMenu();
    });
    showTrayWhenHostExists(startedAtLogin, trayGrace);
}

TolvaApp::~TolvaApp() {
    // The tray still refers to the menus; it must go first.
    delete tray_;
    tray_ = nullptr;
    exported_.reset();
    // The window acts through the menu, which goes with this object.
    delete noTray_.window();
}

void TolvaApp::showTrayWhenHostExists(bool startedAtLogin, std::chrono::milliseconds trayGrace) {
    if (TrayHost::available()) {
        showTray();
        return;
    }
    // Started before the panel (e.g. at login): wait for a tray host instead of quitting.
    qCInfo(lcApp, "No system tray yet; waiting for one to appear");
    trayWait_ = new QTimer(this);
    trayWait_->setInterval(1000);
    connect(trayWait_, &QTimer::timeout, this, [this] {
        if (!TrayHost::available())
            return;
        trayWait_->stop();
        trayWait_->deleteLater();
        trayWait_ = nullptr;
        showTray();
    });
    trayWait_->start();
    QTimer::singleShot(trayGrace, this, [this, startedAtLogin] {
        if (tray_->isVisible())
            return;
        if (startedAtLogin) {
            qCInfo(lcApp, "Still no system tray; started at login, so waiting quietly");
            return;
        }
        // Stock GNOME has no tray at all: without this the user would see nothing.
        qCInfo(lcApp, "Still no system tray; showing the menu in a window");
        noTray_.open();
    });
}

void TolvaApp::showTray() {
    tray_->show();
    qCInfo(lcApp, "System tray icon shown");
    // The icon takes over from the stand-in window.
    if (QWidget* window = noTray_.window())
        window->close();
}

void TolvaApp::openSettings() {
    settings_.open();
}

void TolvaApp::openFeedback() {
    feedback_.open();
}

void TolvaApp::openAbout() {
    showAboutPanel();
}

void TolvaApp::popUpMenu() {
    menu_->menu()->popup(QCursor::pos());
}

void TolvaApp::activate() {
    if (tray_->isVisible())
        popUpMenu();
    else
        noTray_.open();
}

} // namespace Tolvane
