// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlasmaShortcutsQuirk.h"

#include <QByteArray>
#include <QList>

namespace platform::linux_::plasmaShortcutsQuirk {

void offerAtCreateSession(QVariantMap& options, const PortalShortcuts& shortcuts) {
    options.insert(QStringLiteral("shortcuts"), QVariant::fromValue(shortcuts));
}

bool listBeforeBinding() {
    // The portal picks its back end by the session's desktop names, and so does this.
    const QList<QByteArray> desktops = qgetenv("XDG_CURRENT_DESKTOP").toUpper().split(':');
    return desktops.contains("KDE");
}

} // namespace platform::linux_::plasmaShortcutsQuirk
