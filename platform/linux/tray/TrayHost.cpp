#include "TrayHost.h"

#include <QSystemTrayIcon>

namespace Tolvane::TrayHost {

bool available() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace Tolvane::TrayHost
