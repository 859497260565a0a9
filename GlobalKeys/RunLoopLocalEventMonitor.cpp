// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunLoopLocalEventMonitor.h"

namespace GlobalKeys {

RunLoopLocalEventMonitor::RunLoopLocalEventMonitor(EventMask events, QString runLoopMode, Callback callback)
    : runLoopMode_(std::move(runLoopMode)), filter_(events, std::move(callback)) {}

} // namespace GlobalKeys
