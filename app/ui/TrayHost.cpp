#include "TrayHost.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QSystemTrayIcon>

namespace Tolvane::TrayHost {

// Asked the way Qt's own tray asks (through the watcher's introspected property), so the answer
// agrees with the tray Qt picks: a watcher that hides its properties gets an XEmbed icon from Qt.
bool drawsMenuItself() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() ||
        !bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher")))
        return false;
    QDBusInterface watcher(QStringLiteral("org.kde.StatusNotifierWatcher"),
                           QStringLiteral("/StatusNotifierWatcher"),
                           QStringLiteral("org.kde.StatusNotifierWatcher"), bus);
    return watcher.property("IsStatusNotifierHostRegistered").toBool();
}

bool available() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace Tolvane::TrayHost
