// SPDX-License-Identifier: GPL-3.0-or-later
#include "UnavailableHotKeyEvents.h"

#include <QLoggingCategory>

#include <utility>

Q_LOGGING_CATEGORY(lcNoGlobalKeys, "GlobalKeys.desktop")

namespace platform::linux_ {

OSStatus UnavailableHotKeyEvents::registerEventHotKey(std::uint32_t, std::uint32_t, EventHotKeyID,
                                                      EventHotKeyRef* out) {
    *out = 0;
    if (!std::exchange(reported_, true))
        qCWarning(lcNoGlobalKeys).noquote() << "global shortcuts are unavailable:" << why_;
    return eventInternalErr;
}

} // namespace platform::linux_
