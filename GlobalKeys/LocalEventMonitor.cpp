// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocalEventMonitor.h"

namespace GlobalKeys {

LocalEventMonitor::LocalEventMonitor(EventMask events, Callback callback)
    : events_(events), callback_(std::move(callback)) {}

LocalEventMonitor::~LocalEventMonitor() = default;

LocalEventMonitor& LocalEventMonitor::start() {
    if (!monitor_) {
        monitor_ = std::make_unique<ApplicationEventFilter>(events_, callback_);
        monitor_->start();
    }
    return *this;
}

} // namespace GlobalKeys
