// SPDX-License-Identifier: GPL-3.0-or-later
#include "PortalParentWindow.h"

#include <QGuiApplication>
#include <QWindow>

namespace platform::linux_ {

QString portalParentWindow() {
    const QWindow* window = QGuiApplication::focusWindow();
    if (!window || QGuiApplication::platformName() != QLatin1String("xcb"))
        return {};
    return QStringLiteral("x11:") + QString::number(window->winId(), 16);
}

} // namespace platform::linux_
