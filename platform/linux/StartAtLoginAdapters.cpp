#include "StartAtLoginAdapters.h"

#include "BuildInfo.h"
#include "XdgAutostartLoginItem.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

namespace platform::linux_ {

namespace {
Q_LOGGING_CATEGORY(lcAutostart, "app.tolvane.Tolvane.autostart")

// The `tolvane` command that starts this program: what people see in their session settings.
QString commandPath() {
    const QDir here(QCoreApplication::applicationDirPath());
    for (const QString& candidate : {here.filePath(QStringLiteral("tolvane")),
                                     here.filePath(QStringLiteral(TOLVANE_COMMAND_FROM_TRAY "/tolvane"))})
        if (QFileInfo(candidate).isExecutable())
            return QDir::cleanPath(candidate);
    return QCoreApplication::applicationFilePath();
}

} // namespace

void installStartAtLoginAdapters() {
    // An AppImage runs from a mount that changes each start; the image file itself is what to start.
    QString executable = qEnvironmentVariable("APPIMAGE");
    if (!QDir::isAbsolutePath(executable))
        executable = commandPath();
    auto loginItem = std::make_shared<XdgAutostartLoginItem>(
        QStringLiteral(TOLVANE_APP_ID), QStringLiteral(TOLVANE_DISPLAY_NAME), executable);
    // Launch at login stays with the app when it is started from a new place.
    if (const auto error = loginItem->followExecutable())
        qCWarning(lcAutostart, "Could not update the autostart entry: %s",
                  qUtf8Printable(error->localizedDescription));
    install<LoginItemService>(std::move(loginItem));
}

} // namespace platform::linux_
