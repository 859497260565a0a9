// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GlobalKeys/ApplicationEventFilter.h"

#include <memory>

namespace GlobalKeys {

// Sees the application's own events of the masked types before they are delivered, from start()
// until the monitor is destroyed.
class LocalEventMonitor {
public:
    using Callback = ApplicationEventFilter::Callback;

    LocalEventMonitor(EventMask events, Callback callback);
    ~LocalEventMonitor();
    LocalEventMonitor(const LocalEventMonitor&) = delete;
    LocalEventMonitor& operator=(const LocalEventMonitor&) = delete;

    LocalEventMonitor& start();
    EventMask events() const { return events_; }
    bool isStarted() const { return monitor_ != nullptr; }

private:
    EventMask events_;
    Callback callback_;
    std::unique_ptr<ApplicationEventFilter> monitor_;
};

} // namespace GlobalKeys
