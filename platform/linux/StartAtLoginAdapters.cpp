#include "StartAtLoginAdapters.h"

#include "BuildInfo.h"
#include "XdgAutostartLoginItem.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <QDir>

namespace platform::linux_ {

void installStartAtLoginAdapters() {
    // An AppImage runs from a mount that changes each start; the image file itself is what to start.
    QString executable = qEnvironmentVariable("APPIMAGE");
    if (!QDir::isAbsolutePath(executable))
        executable = QCoreApplication::applicationFilePath();
    install<LoginItemService>(std::make_shared<XdgAutostartLoginItem>(
        QStringLiteral(TOLVANE_APP_ID), QStringLiteral(TOLVANE_DISPLAY_NAME), executable));
}

} // namespace platform::linux_
