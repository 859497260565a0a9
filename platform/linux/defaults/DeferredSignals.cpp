// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeferredSignals.h"

#include <array>
#include <csignal>
#include <mutex>

namespace platform::linux_ {
namespace {

constexpr std::array<int, 4> heldSignals{SIGTERM, SIGINT, SIGHUP, SIGQUIT};

std::mutex mutex;
int holders = 0;
std::array<struct sigaction, heldSignals.size()> saved;
std::array<volatile sig_atomic_t, heldSignals.size()> pending;

void remember(int signal) {
    for (std::size_t i = 0; i < heldSignals.size(); ++i)
        if (heldSignals[i] == signal)
            pending[i] = 1;
}

} // namespace

DeferredSignals::DeferredSignals() {
    // Dispositions, not a thread's mask: a process-directed signal may land in any thread.
    std::lock_guard lock(mutex);
    if (holders++ > 0)
        return;
    struct sigaction hold {};
    hold.sa_handler = remember;
    sigfillset(&hold.sa_mask);
    hold.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < heldSignals.size(); ++i) {
        pending[i] = 0;
        sigaction(heldSignals[i], &hold, &saved[i]);
    }
}

DeferredSignals::~DeferredSignals() {
    std::array<bool, heldSignals.size()> arrived{};
    {
        std::lock_guard lock(mutex);
        if (--holders > 0)
            return;
        for (std::size_t i = 0; i < heldSignals.size(); ++i)
            sigaction(heldSignals[i], &saved[i], nullptr);
        for (std::size_t i = 0; i < heldSignals.size(); ++i)
            arrived[i] = pending[i];
    }
    // Outside the lock: a handler of the program's own may start another deferral.
    for (std::size_t i = 0; i < heldSignals.size(); ++i)
        if (arrived[i])
            raise(heldSignals[i]);
}

} // namespace platform::linux_
