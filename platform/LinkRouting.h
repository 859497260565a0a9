// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {

// Whether web links go to Tolvane's own handler, which opens each in the browser its rules name.
// The browser chosen as the default stays the default for every other question: links no rule
// names go there, and the handler service keeps naming it.
class LinkRouting {
public:
    virtual ~LinkRouting() = default;
    enum class State {
        off,
        on,
        displaced, // turned on, but another program has since made itself the handler
    };
    virtual State state() = 0;
    // Turns routing on or off; HandlerService::noErr, or a negative status and failureReason().
    virtual int setOn(bool on) = 0;
    virtual QString failureReason() const = 0;
    // While routing is on: why the browser links go to by default is a stand-in for the one chosen
    // (the record is damaged, the browser is gone); empty when it is the one chosen.
    virtual QString standIn() { return {}; }
};

} // namespace platform
