#include "AppDisplayName.h"
#include "AutomationService.h"
#include "SingleInstance.h"
#include "TolvaApp.h"
#include "Translations.h"
#include "platform/HotKeyEvents.h"
#include "platform/KeyboardLayout.h"
#include "platform/Services.h"
#include "platform/SymbolicHotKeys.h"
#include "platform/linux/FeedbackAdapters.h"
#include "platform/linux/GlobalKeysAdapters.h"
#include "platform/linux/LinuxAdapters.h"
#include "platform/linux/StartAtLoginAdapters.h"

#include <QApplication>
#include <QThreadPool>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tolvane"));
    QApplication::setDesktopFileName(QStringLiteral("app.tolvane.Tolvane"));
    // A tray utility: closing its last window must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    Tolvane::installTranslations();

    platform::linux_::installLinuxAdapters();
    platform::linux_::installStartAtLoginAdapters();
    platform::linux_::installFeedbackAdapters();

    Tolvane::SingleInstance instance;
    if (!instance.claim()) {
        qInfo("Tolvane is already running");
        return 0;
    }
    QApplication::setApplicationDisplayName(Tolvane::appDisplayName());
    // Only the one instance grabs global keys.
    platform::linux_::installGlobalKeysAdapters();

    int code = 0;
    {
        Tolvane::TolvaApp tolva;
        // Automation works without a bus too; the service logs why it is missing.
        Tolvane::AutomationService::registerOnSessionBus(&tolva);
        // Starting Tolvane again while it runs shows its menu instead of a second icon.
        QObject::connect(&instance, &Tolvane::SingleInstance::activated, &tolva,
                         &Tolvane::TolvaApp::popUpMenu);
        code = app.exec();
        // Automation replies still in flight on the pool go out while the bus connection exists.
        QThreadPool::globalInstance()->waitForDone();
    }
    // The hot-key adapters own X connections and Qt notifiers: release them while Qt still runs.
    platform::install<platform::HotKeyEvents>(nullptr);
    platform::install<platform::KeyboardLayout>(nullptr);
    platform::install<platform::SymbolicHotKeys>(nullptr);
    return code;
}
