#include "PlasmaShortcutsQuirk.h"

namespace platform::linux_::plasmaShortcutsQuirk {

void offerAtCreateSession(QVariantMap& options, const PortalShortcuts& shortcuts) {
    options.insert(QStringLiteral("shortcuts"), QVariant::fromValue(shortcuts));
}

} // namespace platform::linux_::plasmaShortcutsQuirk
