// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GlobalKeys/ApplicationEventFilter.h"

#include <QString>

namespace GlobalKeys {

// The filter used while one of the application's menus is open: active between start() and stop()
// (or destruction). Qt delivers the menu's events through the same event loop, so filtering them in
// place keeps the order of the events that survive.
class RunLoopLocalEventMonitor {
public:
    using Callback = ApplicationEventFilter::Callback;

    RunLoopLocalEventMonitor(EventMask events, QString runLoopMode, Callback callback);

    void start() { filter_.start(); }
    void stop() { filter_.stop(); }
    bool isActive() const { return filter_.isActive(); }
    const QString& runLoopMode() const { return runLoopMode_; }

private:
    QString runLoopMode_;
    ApplicationEventFilter filter_;
};

} // namespace GlobalKeys
