// SPDX-License-Identifier: GPL-3.0-or-later
// Reading XFCE's preferred-application files.
#include "XfceHelpers.h"

#include "BrowserForwarders.h"
#include "platform/Paths.h"
#include "platform/linux/xdg/AtomicFile.h"
#include "platform/linux/xdg/DesktopEntry.h"
#include "platform/linux/xdg/KeyFileLines.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace platform::linux_ {

std::optional<QString> xfcePreferredWebBrowser() {
    QStringList folders{platform::configHome()};
    folders << platform::configDirs();
    for (const QString& folder : folders) {
        const auto snapshot = readSnapshot(folder + QStringLiteral("/xfce4/helpers.rc"));
        if (!snapshot || !snapshot->existed)
            continue;
        if (auto value = KeyFileLines(snapshot->content).value(QString(), QStringLiteral("WebBrowser")))
            return value;
    }
    return std::nullopt;
}

std::optional<QString> xfceHelperPath(const QString& name) {
    QStringList folders{platform::dataHome()};
    folders << platform::dataDirs();
    for (const QString& folder : folders) {
        const QString path = folder + QStringLiteral("/xfce4/helpers/") + name + QStringLiteral(".desktop");
        if (QFileInfo(path).isFile())
            return path;
    }
    return std::nullopt;
}

QStringList xfceHelperCommands(const DesktopEntry& helper) {
    const QStringList binaries = helper.listValue(QStringLiteral("X-XFCE-Binaries"));
    QString binary = binaries.value(0);
    for (const QString& candidate : binaries)
        if (!QStandardPaths::findExecutable(candidate).isEmpty()) {
            binary = candidate;
            break;
        }
    QStringList commands;
    for (const char* key : {"X-XFCE-Commands", "X-XFCE-CommandsWithParameter"})
        for (QString command : helper.listValue(QLatin1String(key)))
            commands << command.replace(QLatin1String("%B"), binary);
    return commands;
}

bool xfceHelperLoops(const QString& path) {
    const auto helper = DesktopEntry::read(path);
    if (!helper || helper->value(QStringLiteral("X-XFCE-Category")) != QStringLiteral("WebBrowser"))
        return false;
    const QStringList commands = xfceHelperCommands(*helper);
    return std::any_of(commands.begin(), commands.end(), [](const QString& command) {
        return browserForwarding(command) != BrowserForwarding::None;
    });
}

} // namespace platform::linux_
