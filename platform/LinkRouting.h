// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

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
    // While routing is on: writes the handler again where it no longer runs this program (it moved)
    // or no longer falls back to the chosen browser. HandlerService::noErr when nothing was wrong.
    virtual int mendHandler() { return 0; }
    // The browser the links no rule names go to, as HandlerService answers for https; and, while
    // routing is on, in `standIn` why it stands in for the one chosen (the record is damaged, the
    // browser is gone), else empty. One reading of the stores for both.
    virtual std::optional<QString> linksGoTo(QString* standIn) = 0;
};

} // namespace platform
