// SPDX-License-Identifier: GPL-3.0-or-later
#include "Launches.h"

#include "Adapters.h"
#include "AppDisplayName.h"
#include "AutomationService.h"
#include "CommandLine.h"
#include "EndRequests.h"
#include "GlobalKeys/Shortcuts.h"
#include "LinkAsker.h"
#include "LinksAdaptor.h"
#include "RoutingWatch.h"
#include "ServiceIdleTimer.h"
#include "SingleInstance.h"
#include "Translations.h"
#include "WindowIdentity.h"
#include "app/ui/TolvaApp.h"
#include "platform/HotKeyEvents.h"
#include "platform/HotKeyStatus.h"
#include "platform/KeyboardLayout.h"
#include "platform/LinkRouting.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/SymbolicHotKeys.h"
#include "platform/linux/defaults/MimeAppsWatcher.h"
#include "platform/linux/session/DisplayProbe.h"

#include <QApplication>
#include <QDBusConnection>
#include <QThreadPool>
#include <QTimer>

#include <cstdio>
#include <optional>
#include <unistd.h>

namespace Tolvane {
namespace {

// The bus learns of every change to the default, made here or by any other program.
void announceDefaultChanges(AutomationService* service) {
    if (!service)
        return;
    auto* watcher = new platform::linux_::MimeAppsWatcher(service);
    QObject::connect(watcher, &platform::linux_::MimeAppsWatcher::changed, service,
                     &AutomationService::recheckDefaultBrowser);
}

// What a tray and a service start share once their application object exists: none when it may
// go on, else the exit status.
std::optional<int> setUpApplication() {
    nameApplication();
    // Only windows, menus and notifications speak the user's language; the command line does not.
    installTranslations();
    if (const auto status = cli::rejectUnexpectedArguments(QCoreApplication::arguments()))
        return status;
    // Neither ends when a window (settings, feedback) closes.
    QApplication::setQuitOnLastWindowClosed(false);
    Tolvane::adapters::installDesktopAdapters();
    return std::nullopt;
}

// A platform plugin chosen in the environment that draws without any display.
bool displaylessPlatformChosen() {
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    return chosen.startsWith("offscreen") || chosen.startsWith("minimal") || chosen.startsWith("vnc");
}

// Qt aborts when its platform finds no display, so look first (QT_QPA_PLATFORM=xcb set in a
// profile does not make an X server appear over SSH).
bool platformCanStart() {
    return displaylessPlatformChosen() || platform::linux_::displayReachable();
}

} // namespace

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("tolvane"));
    // The standard defaults: where the shortcuts live beside the other settings.
    GlobalKeys::setUserDefaultsFile(
        [] { return platform::tolvaneConfigDir() + QStringLiteral("/tolvane.conf"); });
    QGuiApplication::setDesktopFileName(QStringLiteral("app.tolvane.Tolvane"));
}

int finishAfterEventLoop(int code) {
    QThreadPool* pool = QThreadPool::globalInstance();
    pool->clear();
    if (pool->waitForDone(2000))
        return code;
    // A worker stuck in a system call must not keep the bus name and the lock hostage.
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(code);
}

int runService(int argc, char** argv) {
    // Started by the bus from SSH or cron there may be no display: serve anyway, icons included.
    if (!platformCanStart())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (const auto status = setUpApplication())
        return *status;
    // No tray and no single-instance lock: a tray instance of another session may own the
    // configuration folder; the mimeapps lock keeps switches of both processes apart.
    AutomationService* service =
        AutomationService::registerOnSessionBus(&app, AutomationService::NameOwnership::yield);
    if (!service)
        return 1;
    announceDefaultChanges(service);
    // A rule that says "ask" starts this process when no tray runs: it asks on the display it has.
    auto* links = new LinksAdaptor(service);
    // Ended by the session, it hands the links it holds over as a quit does.
    quitOnEndRequests(&app);
    // A tray instance started later on this bus takes the name over; this process is then done, once
    // the links it was asked about are answered.
    QObject::connect(service, &AutomationService::nameLost, &app, [links] {
        const auto quitWhenAnswered = [links] {
            if (!links->asker()->asking())
                QCoreApplication::quit();
        };
        QObject::connect(links, &LinksAdaptor::activity, links, quitWhenAnswered);
        quitWhenAnswered();
    });
    // So is it when the bus goes away with its session (an SSH log-out): nobody can call it any more.
    auto* busCheck = new QTimer(&app);
    QObject::connect(busCheck, &QTimer::timeout, &app, [] {
        if (!QDBusConnection::sessionBus().isConnected())
            QCoreApplication::quit();
    });
    busCheck->start(2000);
    // Unused for a while, it leaves; the bus starts it again on the next call.
    auto* quiet = new ServiceIdleTimer(ServiceIdleTimer::configuredQuietTime(), &app);
    QObject::connect(service, &AutomationService::called, quiet, &ServiceIdleTimer::restart);
    QObject::connect(links, &LinksAdaptor::activity, quiet, &ServiceIdleTimer::restart);
    QObject::connect(quiet, &ServiceIdleTimer::idle, &app, [service] {
        service->releaseName();
        // Calls that reached this process before the name went still get their replies.
        QTimer::singleShot(200, QCoreApplication::instance(), &QCoreApplication::quit);
    });
    return finishAfterEventLoop(app.exec());
}

int runTray(int argc, char** argv) {
    if (!platformCanStart()) {
        std::fputs("tolvane: no display to show the tray icon on; "
                   "see 'tolvane --help' for the command line\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    if (const auto status = setUpApplication())
        return *status;
    Tolvane::adapters::installStartAtLoginAdapters();
    Tolvane::adapters::installFeedbackAdapters();

    SingleInstance instance;
    if (!instance.claim()) {
        qInfo("Tolvane is already running");
        return 0;
    }
    // Logging out ends the tray as Quit does: links waiting in the picker still open.
    quitOnEndRequests(&app);
    QApplication::setApplicationDisplayName(appDisplayName());
    identifyWindows();
    // Only the one instance grabs global keys.
    Tolvane::adapters::installGlobalKeysAdapters();

    int code = 0;
    {
        // The login entry passes --autostart: there a missing tray is waited for quietly.
        TolvaApp tolva(QCoreApplication::arguments().contains(QStringLiteral("--autostart")));
        // Automation works without a bus too; the service logs why it is missing.
        AutomationService* service = AutomationService::registerOnSessionBus(&tolva);
        announceDefaultChanges(service);
        // Links whose rule says "ask" come here while the tray runs.
        if (service)
            new LinksAdaptor(service);
        // The tray's tooltip names the default browser, whoever changes it.
        auto* defaults = new platform::linux_::MimeAppsWatcher(&tolva);
        QObject::connect(defaults, &platform::linux_::MimeAppsWatcher::changed, &tolva,
                         &TolvaApp::updateToolTip);
        // A browser that takes the links back from the rules is told of.
        auto* routing = new RoutingWatch(&tolva);
        QObject::connect(defaults, &platform::linux_::MimeAppsWatcher::changed, routing,
                         &RoutingWatch::recheck);
        // Starting Tolvane again while it runs shows its menu (or its window) instead of a second icon.
        QObject::connect(&instance, &SingleInstance::activated, &tolva, &TolvaApp::activate);
        // Automation replies still in flight on the pool go out while the bus connection exists.
        code = finishAfterEventLoop(app.exec());
    }
    // The hot-key adapters own X connections and Qt notifiers: release them while Qt still runs.
    platform::install<platform::HotKeyEvents>(nullptr);
    platform::install<platform::HotKeyStatus>(nullptr);
    platform::install<platform::KeyboardLayout>(nullptr);
    platform::install<platform::SymbolicHotKeys>(nullptr);
    return code;
}

} // namespace Tolvane
