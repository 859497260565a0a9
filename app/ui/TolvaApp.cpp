// SPDX-License-Identifier: GPL-3.0-or-later
#include "TolvaApp.h"

#include "AboutAction.h"
#include "AppDisplayName.h"
#include "Assets.h"
#include "TolvaShortcutReactor.h"
#include "app/ui/feedback/FeedbackWindow.h"
#include "app/ui/settings/SettingsWindow.h"
#include "app/ui/tray/FirstStartNotice.h"
#include "app/ui/tray/MenuBarContent.h"
#include "app/ui/tray/NoTrayWindow.h"
#include "app/ui/tray/TrayToolTip.h"
#include "platform/linux/tray/StatusNotifierItem.h"
#include "platform/linux/tray/TrayHost.h"
#include "platform/linux/tray/XdgActivation.h"

#include <QCursor>
#include <QGuiApplication>
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
    // Qt's icon under some platform themes is an object that holds the event loop while it lives
    // and lets go when hidden: the tray program ends by Quit only, never by a tray coming or going.
    QCoreApplication::setQuitLockEnabled(false);
    // Setting the scenes up creates the reactor; its shortcut is live from here on.
    shortcutReactor_ = std::make_unique<TolvaShortcutReactor>();

    menu_ = std::make_unique<MenuBarContent>();
    connect(menu_.get(), &MenuBarContent::settingsRequested, this, &TolvaApp::openSettings);
    connect(menu_.get(), &MenuBarContent::feedbackRequested, this, &TolvaApp::openFeedback);
    connect(menu_.get(), &MenuBarContent::aboutRequested, this, &TolvaApp::openAbout);

    // Drawn once for both kinds of tray.
    const QIcon icon = Assets::image(QStringLiteral("browser"));
    // XEmbed trays get Qt's icon with the menu drawn by Qt.
    tray_ = new QSystemTrayIcon(icon, this);
    tray_->setToolTip(appDisplayName());
    tray_->setContextMenu(menu_->menu());
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        // The context menu opens on a right click by itself; a left click opens it too.
        if (reason == QSystemTrayIcon::Trigger)
            popUpMenu();
    });
    // StatusNotifier hosts draw the item and its menu themselves.
    statusNotifier_ = std::make_unique<StatusNotifierItem>(appDisplayName(), icon, menu_->menu());
    connect(statusNotifier_.get(), &StatusNotifierItem::shownChanged, this, &TolvaApp::followTrayHosts);
    connect(statusNotifier_.get(), &StatusNotifierItem::menuRequested, this, &TolvaApp::popUpMenuAt);
    connect(statusNotifier_.get(), &StatusNotifierItem::activationTokenProvided, this, &XdgActivation::offer);
    updateToolTip();
    showTrayWhenHostExists(startedAtLogin, trayGrace);
}

TolvaApp::~TolvaApp() {
    // The tray still refers to the menus; it must go first.
    delete tray_;
    tray_ = nullptr;
    statusNotifier_.reset();
    // The window acts through the menu, which goes with this object.
    delete noTray_.window();
}

void TolvaApp::showTrayWhenHostExists(bool startedAtLogin, std::chrono::milliseconds trayGrace) {
    // Panels start after Tolvane (at login) and restart: an XEmbed tray is looked for while none
    // shows the icon; StatusNotifier watchers announce themselves.
    trayWait_ = new QTimer(this);
    trayWait_->setInterval(1000);
    connect(trayWait_, &QTimer::timeout, this, &TolvaApp::followTrayHosts);
    followTrayHosts();
    if (!trayShown())
        qCInfo(lcApp, "No system tray yet; waiting for one to appear");
    QTimer::singleShot(trayGrace, this, [this, startedAtLogin] {
        if (trayShown())
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

void TolvaApp::updateToolTip() {
    const QString text = TrayToolTip::defaultBrowserLine(menu_->browsers());
    statusNotifier_->setToolTipText(text);
    // Qt's icon has one text: the name, and below it the same line.
    tray_->setToolTip(text.isEmpty() ? appDisplayName() : appDisplayName() + QLatin1Char('\n') + text);
}

bool TolvaApp::trayShown() const {
    return statusNotifier_->shown() || tray_->isVisible();
}

void TolvaApp::followTrayHosts() {
    // One icon only: a panel that hosts both kinds would show both. While a watcher is still
    // answering, Qt's icon does not appear: it would only flash.
    const bool xembed = !statusNotifier_->shown() && TrayHost::available();
    if (xembed != tray_->isVisible() && !(xembed && statusNotifier_->settling())) {
        tray_->setVisible(xembed);
        qCInfo(lcApp, xembed ? "System tray icon shown" : "System tray icon hidden");
    }
    if (!trayShown()) {
        if (!trayWait_->isActive())
            trayWait_->start();
        return;
    }
    trayWait_->stop();
    announceTrayOnce();
    if (statusNotifier_->shown())
        qCInfo(lcApp, "Tray item shown by a StatusNotifier host");
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
    popUpMenuAt(QCursor::pos());
}

void TolvaApp::popUpMenuAt(QPoint pos) {
    // A Wayland client cannot place a window: the menu would open as a window of its own, tiled or
    // centred. There the host's own menu is the way in.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        qCInfo(lcApp, "Not opening the menu away from the tray on Wayland");
        return;
    }
    menu_->menu()->popup(pos);
}

void TolvaApp::activate() {
    if (trayShown())
        popUpMenu();
    else
        noTray_.open();
}

} // namespace Tolvane
