// SPDX-License-Identifier: GPL-3.0-or-later
// Test host for the automation service: the real Linux adapters where this build has them,
// desktop-file driven stand-ins for the rest, and the service on the session bus.
#include "AutomationService.h"
#include "DesktopEntryFakes.h"
#include "app/ui/main/Adapters.h"
#include "platform/Services.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Tolvane::adapters::installDesktopAdapters();
    if (!platform::has<platform::Workspace>())
        platform::install<platform::Workspace>(std::make_shared<host::DesktopFileWorkspace>());
    if (!platform::has<platform::BundleReader>())
        platform::install<platform::BundleReader>(std::make_shared<host::DesktopFileBundleReader>());
    // Always the recorder: the tests read its log to see which thread switched.
    platform::install<platform::HandlerService>(std::make_shared<host::RecordingHandlerService>());

    if (!Tolvane::AutomationService::registerOnSessionBus(&app))
        return 1;
    return app.exec();
}
