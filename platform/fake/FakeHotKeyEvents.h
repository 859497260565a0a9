// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/HotKeyEvents.h"
#include "platform/HotKeyStatus.h"

#include <algorithm>
#include <set>
#include <utility>

namespace platform::fake {

// Records every call; registrations can be refused per key, and events are delivered like the real
// dispatcher does: only kinds added to the handler reach it.
class FakeHotKeyEvents : public HotKeyEvents, public HotKeyStatus {
public:
    struct Registration {
        std::uint32_t keyCode;
        std::uint32_t modifiers;
        EventHotKeyID id;
    };

    std::map<EventHotKeyRef, Registration> registered; // live registrations
    std::vector<Registration> registerCalls;
    std::vector<EventHotKeyRef> unregisterCalls;
    std::set<std::pair<std::uint32_t, std::uint32_t>> refused; // (keyCode, modifiers) held elsewhere
    bool dispatcherTarget = true;
    bool usesEventMonitor = true;
    int handlersInstalled = 0;
    EventHandlerProc handler;
    std::vector<EventTypeSpec> handlerTypes;
    EventHotKeyRef nextRef = 100;
    bool deliverable = true;                                             // what canDeliverGlobalHotKeys says
    std::map<std::pair<std::uint32_t, std::uint32_t>, QString> assigned; // the desktop's other triggers
    std::map<int, std::function<void()>> observers;

    OSStatus registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers, EventHotKeyID id,
                                 EventHotKeyRef* out) override {
        registerCalls.push_back({keyCode, modifiers, id});
        if (refused.count({keyCode, modifiers})) {
            *out = 0;
            return eventHotKeyExistsErr;
        }
        *out = ++nextRef;
        registered[*out] = {keyCode, modifiers, id};
        return noErr;
    }
    OSStatus unregisterEventHotKey(EventHotKeyRef ref) override {
        unregisterCalls.push_back(ref);
        return registered.erase(ref) ? noErr : eventHotKeyInvalidErr;
    }
    bool hasEventDispatcherTarget() override { return dispatcherTarget; }
    OSStatus installEventHandler(EventHandlerProc proc, EventHandlerRef* out) override {
        ++handlersInstalled;
        handler = std::move(proc);
        *out = 1;
        return noErr;
    }
    OSStatus addEventTypesToHandler(EventHandlerRef, const std::vector<EventTypeSpec>& types) override {
        for (const auto& t : types)
            if (std::find(handlerTypes.begin(), handlerTypes.end(), t) == handlerTypes.end())
                handlerTypes.push_back(t);
        return noErr;
    }
    OSStatus removeEventTypesFromHandler(EventHandlerRef, const std::vector<EventTypeSpec>& types) override {
        for (const auto& t : types)
            handlerTypes.erase(std::remove(handlerTypes.begin(), handlerTypes.end(), t), handlerTypes.end());
        return noErr;
    }
    bool menuTrackingUsesEventMonitor() const override { return usesEventMonitor; }
    // What the desktop makes of them (the HotKeyStatus port).
    bool canDeliverGlobalHotKeys() const override { return deliverable; }
    QString assignedTrigger(std::uint32_t keyCode, std::uint32_t modifiers) const override {
        const auto it = assigned.find({keyCode, modifiers});
        return it == assigned.end() ? QString() : it->second;
    }
    int addStatusObserver(std::function<void()> changed) override {
        const int token = int(observers.size()) + 1;
        observers[token] = std::move(changed);
        return token;
    }
    void removeStatusObserver(int token) override { observers.erase(token); }
    // The desktop changed its mind: tells every observer, as the real adapters do.
    void statusChanged() {
        for (const auto& [token, changed] : std::map(observers))
            changed();
    }

    // Inspection and driving.
    bool handles(std::uint32_t kind) const {
        return std::find(handlerTypes.begin(), handlerTypes.end(),
                         EventTypeSpec{kEventClassKeyboard, kind}) != handlerTypes.end();
    }
    std::optional<Registration> registrationFor(std::uint32_t keyCode, std::uint32_t modifiers) const {
        for (const auto& [ref, r] : registered)
            if (r.keyCode == keyCode && r.modifiers == modifiers)
                return r;
        return std::nullopt;
    }
    // Presses or releases a registered hot key as the system would; returns the handler's status, or
    // eventNotHandledErr when nothing would be delivered.
    OSStatus fireHotKey(std::uint32_t keyCode, std::uint32_t modifiers, std::uint32_t kind) {
        const auto r = registrationFor(keyCode, modifiers);
        if (!r || !handler || !handles(kind))
            return eventNotHandledErr;
        const CarbonEvent event = CarbonEvent::hotKey(kind, r->id);
        return handler(&event);
    }
    OSStatus deliver(const CarbonEvent& event) {
        if (!handler || !handles(event.kind))
            return eventNotHandledErr;
        return handler(&event);
    }
};

} // namespace platform::fake
