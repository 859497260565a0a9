// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace platform::linux_ {

// Holds back the signals that ask a process to end (SIGTERM at logout, SIGINT, SIGHUP, SIGQUIT)
// while a change that must stay whole is being made, in whichever thread they land; one that
// arrived meanwhile is delivered, as it would have been, when the last such object goes.
class DeferredSignals {
public:
    DeferredSignals();
    ~DeferredSignals();
    DeferredSignals(const DeferredSignals&) = delete;
    DeferredSignals& operator=(const DeferredSignals&) = delete;
};

} // namespace platform::linux_
