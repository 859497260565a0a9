// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Hot-key registration and keyboard event delivery, shaped after the Carbon Event Manager calls
// the hot-key registry makes, so the registry logic is identical whatever stands behind it.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <vector>

namespace platform {

using OSStatus = std::int32_t;
inline constexpr OSStatus noErr = 0;
inline constexpr OSStatus paramErr = -50;
inline constexpr OSStatus eventInternalErr = -9868;
inline constexpr OSStatus eventParameterNotFoundErr = -9870;
inline constexpr OSStatus eventNotHandledErr = -9874;
inline constexpr OSStatus eventHotKeyExistsErr = -9878;
inline constexpr OSStatus eventHotKeyInvalidErr = -9879;

constexpr std::uint32_t fourCharCode(const char (&code)[5]) {
    return (std::uint32_t(std::uint8_t(code[0])) << 24) | (std::uint32_t(std::uint8_t(code[1])) << 16) |
           (std::uint32_t(std::uint8_t(code[2])) << 8) | std::uint32_t(std::uint8_t(code[3]));
}

inline constexpr std::uint32_t kEventClassKeyboard = fourCharCode("keyb");
inline constexpr std::uint32_t kEventRawKeyDown = 1;
inline constexpr std::uint32_t kEventRawKeyRepeat = 2;
inline constexpr std::uint32_t kEventRawKeyUp = 3;
inline constexpr std::uint32_t kEventHotKeyPressed = 5;
inline constexpr std::uint32_t kEventHotKeyReleased = 6;

inline constexpr std::uint32_t kEventParamDirectObject = fourCharCode("----");
inline constexpr std::uint32_t typeEventHotKeyID = fourCharCode("hkid");
inline constexpr std::uint32_t kEventParamKeyCode = fourCharCode("kcod");
inline constexpr std::uint32_t kEventParamKeyModifiers = fourCharCode("kmod");
inline constexpr std::uint32_t typeUInt32 = fourCharCode("magn");

struct EventHotKeyID {
    std::uint32_t signature = 0;
    std::uint32_t id = 0;
};

struct EventTypeSpec {
    std::uint32_t eventClass = 0;
    std::uint32_t eventKind = 0;
    bool operator==(const EventTypeSpec&) const = default;
};

// One keyboard event as the handler sees it: a kind plus typed parameters.
class CarbonEvent {
public:
    std::uint32_t eventClass = kEventClassKeyboard;
    std::uint32_t kind = 0;

    template <class T> void setParameter(std::uint32_t name, std::uint32_t type, const T& value) {
        parameters_[name] = {type, QByteArray(reinterpret_cast<const char*>(&value), sizeof(T))};
    }

    static CarbonEvent hotKey(std::uint32_t kind, EventHotKeyID id) {
        CarbonEvent event;
        event.kind = kind;
        event.setParameter(kEventParamDirectObject, typeEventHotKeyID, id);
        return event;
    }
    static CarbonEvent rawKey(std::uint32_t kind, std::uint32_t keyCode, std::uint32_t modifiers) {
        CarbonEvent event;
        event.kind = kind;
        event.setParameter(kEventParamKeyCode, typeUInt32, keyCode);
        event.setParameter(kEventParamKeyModifiers, typeUInt32, modifiers);
        return event;
    }

    OSStatus parameter(std::uint32_t name, std::uint32_t type, std::size_t size, void* out) const {
        const auto it = parameters_.find(name);
        if (it == parameters_.end() || it->second.first != type)
            return eventParameterNotFoundErr;
        if (std::size_t(it->second.second.size()) != size)
            return paramErr;
        std::memcpy(out, it->second.second.constData(), size);
        return noErr;
    }

private:
    std::map<std::uint32_t, std::pair<std::uint32_t, QByteArray>> parameters_;
};

inline std::uint32_t GetEventKind(const CarbonEvent& event) {
    return event.kind;
}
inline OSStatus GetEventParameter(const CarbonEvent* event, std::uint32_t name, std::uint32_t type,
                                  std::size_t size, void* out) {
    return event ? event->parameter(name, type, size, out) : paramErr;
}

// Non-zero handles; 0 means none.
using EventHotKeyRef = std::uint64_t;
using EventHandlerRef = std::uint64_t;
using EventHandlerProc = std::function<OSStatus(const CarbonEvent*)>;

class HotKeyEvents {
public:
    virtual ~HotKeyEvents() = default;

    // Registers a system-wide hot key; on success *out is a non-zero handle.
    virtual OSStatus registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers, EventHotKeyID id,
                                         EventHotKeyRef* out) = 0;
    virtual OSStatus unregisterEventHotKey(EventHotKeyRef ref) = 0;
    // Whether there is an event dispatcher to install a handler on.
    virtual bool hasEventDispatcherTarget() = 0;
    // The handler is called on the main thread for events of the kinds added to it.
    virtual OSStatus installEventHandler(EventHandlerProc handler, EventHandlerRef* out) = 0;
    virtual OSStatus addEventTypesToHandler(EventHandlerRef handler,
                                            const std::vector<EventTypeSpec>& types) = 0;
    virtual OSStatus removeEventTypesFromHandler(EventHandlerRef handler,
                                                 const std::vector<EventTypeSpec>& types) = 0;
    // True where key events during menu tracking are seen through an application event filter;
    // false where the handler receives raw key events instead.
    virtual bool menuTrackingUsesEventMonitor() const = 0;
};

} // namespace platform
