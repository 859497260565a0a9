// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one process-wide installation point for operating-system ports.
// main() installs the real adapters; tests swap a port with platform::Override.
#include <memory>
#include <mutex>
#include <typeinfo>

namespace platform {

[[noreturn]] void missingPort(const char* typeName);

template <class Port> class Slot {
public:
    static std::shared_ptr<Port> get() {
        std::lock_guard lock(mutex_);
        return port_;
    }
    static std::shared_ptr<Port> exchange(std::shared_ptr<Port> next) {
        std::lock_guard lock(mutex_);
        port_.swap(next);
        return next;
    }

private:
    static inline std::mutex mutex_;
    static inline std::shared_ptr<Port> port_;
};

// Returns the installed port; a missing one is a programming error and stops loudly.
template <class Port> std::shared_ptr<Port> get() {
    auto port = Slot<Port>::get();
    if (!port)
        missingPort(typeid(Port).name());
    return port;
}

template <class Port> bool has() {
    return Slot<Port>::get() != nullptr;
}

template <class Port> void install(std::shared_ptr<Port> port) {
    Slot<Port>::exchange(std::move(port));
}

// Scoped replacement; the previous port comes back when the guard ends.
template <class Port> class Override {
public:
    explicit Override(std::shared_ptr<Port> port) : previous_(Slot<Port>::exchange(std::move(port))) {}
    ~Override() { Slot<Port>::exchange(std::move(previous_)); }
    Override(const Override&) = delete;
    Override& operator=(const Override&) = delete;

private:
    std::shared_ptr<Port> previous_;
};

} // namespace platform
