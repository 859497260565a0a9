// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/HotKeyEvents.h"

#include <set>

namespace platform::linux_ {

// The one event handler of a hot-key adapter and the event kinds added to it: only those reach it.
class HotKeyHandler {
public:
    OSStatus install(EventHandlerProc handler, EventHandlerRef* out) {
        handler_ = std::move(handler);
        *out = 1;
        return noErr;
    }
    OSStatus add(const std::vector<EventTypeSpec>& types) {
        for (const auto& t : types)
            if (t.eventClass == kEventClassKeyboard)
                kinds_.insert(t.eventKind);
        return noErr;
    }
    OSStatus remove(const std::vector<EventTypeSpec>& types) {
        for (const auto& t : types)
            if (t.eventClass == kEventClassKeyboard)
                kinds_.erase(t.eventKind);
        return noErr;
    }
    bool handles(std::uint32_t kind) const { return handler_ && kinds_.count(kind); }
    // Calls the handler when it takes this kind of event.
    void deliver(std::uint32_t kind, EventHotKeyID id) const {
        if (!handles(kind))
            return;
        const CarbonEvent event = CarbonEvent::hotKey(kind, id);
        handler_(&event);
    }

private:
    EventHandlerProc handler_;
    std::set<std::uint32_t> kinds_;
};

// What every adapter that dispatches to one HotKeyHandler answers alike; menus are watched
// through the application's event monitor, since neither grabs nor portals see them.
class HandlerHotKeyEvents : public HotKeyEvents {
public:
    bool hasEventDispatcherTarget() override { return true; }
    OSStatus installEventHandler(EventHandlerProc handler, EventHandlerRef* out) override {
        return handler_.install(std::move(handler), out);
    }
    OSStatus addEventTypesToHandler(EventHandlerRef, const std::vector<EventTypeSpec>& types) override {
        return handler_.add(types);
    }
    OSStatus removeEventTypesFromHandler(EventHandlerRef, const std::vector<EventTypeSpec>& types) override {
        return handler_.remove(types);
    }
    bool menuTrackingUsesEventMonitor() const override { return true; }

protected:
    HotKeyHandler handler_;
};

} // namespace platform::linux_
