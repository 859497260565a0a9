// SPDX-License-Identifier: GPL-3.0-or-later
#include "XdgActivation.h"

#include <QGuiApplication>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcActivation, "app.tolvane.Tolvane.activation")

namespace Tolvane::XdgActivation {

void offer(const QString& token) {
    // On X11 the token means nothing, and left in the environment it would reach every program
    // Tolvane starts.
    if (token.isEmpty() || !QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    qCDebug(lcActivation, "Activation token kept for the next window");
}

} // namespace Tolvane::XdgActivation
