// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the desktop makes of the global hot keys, where a desktop service (a portal) delivers them
// rather than the program grabbing keys itself. Key grabs deliver exactly what was asked; so does
// this base class, which adapters that grab keys install as it is.
#include <QString>

#include <cstdint>
#include <functional>

namespace platform {

class HotKeyStatus {
public:
    virtual ~HotKeyStatus() = default;

    // False when nothing on this desktop can deliver global hot keys.
    virtual bool canDeliverGlobalHotKeys() const { return true; }
    // The desktop's text for the key it assigned to a registered hot key, when that is not the key
    // asked for; empty otherwise.
    virtual QString assignedTrigger(std::uint32_t /*keyCode*/, std::uint32_t /*modifiers*/) const {
        return {};
    }
    // True when the desktop answered a request for this registered hot key without taking it: the key
    // does nothing until the set of hot keys changes or the desktop's service starts again.
    virtual bool refusedByDesktop(std::uint32_t /*keyCode*/, std::uint32_t /*modifiers*/) const {
        return false;
    }
    // True when another program holds this key now, so registering it would be refused. Asked before
    // offering to take a key the desktop reserves; back ends that cannot tell without side effects
    // (a portal would ask the user) answer false.
    virtual bool heldByAnotherProgram(std::uint32_t /*keyCode*/, std::uint32_t /*modifiers*/) {
        return false;
    }
    // `changed` runs on the main thread whenever an answer above may have changed. Returns a token for
    // removeStatusObserver.
    virtual int addStatusObserver(std::function<void()> /*changed*/) { return 0; }
    virtual void removeStatusObserver(int /*token*/) {}
    // While held (a menu is open, the registry is disabled) unregistering hot keys only mutes them until
    // they are registered again; otherwise an unregistered hot key is one the user gave up, and a
    // desktop service should let go of it.
    virtual void setHeld(bool /*held*/) {}
};

} // namespace platform
