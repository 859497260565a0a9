// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/HotKeyEvents.h"
#include "platform/HotKeyStatus.h"

#include <QString>

namespace platform::linux_ {

// Where nothing can deliver global hot keys (Wayland without the GlobalShortcuts portal): every
// registration fails, and the first one says why in the log.
class UnavailableHotKeyEvents : public HotKeyEvents, public HotKeyStatus {
public:
    explicit UnavailableHotKeyEvents(QString why) : why_(std::move(why)) {}

    OSStatus registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers, EventHotKeyID id,
                                 EventHotKeyRef* out) override;
    OSStatus unregisterEventHotKey(EventHotKeyRef) override { return eventHotKeyInvalidErr; }
    bool hasEventDispatcherTarget() override { return true; }
    OSStatus installEventHandler(EventHandlerProc, EventHandlerRef* out) override {
        *out = 1;
        return noErr;
    }
    OSStatus addEventTypesToHandler(EventHandlerRef, const std::vector<EventTypeSpec>&) override {
        return noErr;
    }
    OSStatus removeEventTypesFromHandler(EventHandlerRef, const std::vector<EventTypeSpec>&) override {
        return noErr;
    }
    bool menuTrackingUsesEventMonitor() const override { return true; }
    bool canDeliverGlobalHotKeys() const override { return false; }

private:
    QString why_;
    bool reported_ = false;
};

} // namespace platform::linux_
