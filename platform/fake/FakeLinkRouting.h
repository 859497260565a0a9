// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/HandlerService.h"
#include "platform/LinkRouting.h"

#include <QList>

namespace platform::fake {

// Link routing in memory: a state to report, and a failure to inject into setOn.
class FakeLinkRouting : public LinkRouting {
public:
    State current = State::off;
    int status = HandlerService::noErr; // what setOn answers; anything else leaves `current` alone
    QString reason;                     // failureReason() after a failed setOn
    QList<bool> calls;                  // every setOn, in order

    State state() override { return current; }
    int setOn(bool on) override {
        calls << on;
        lastFailed_ = status != HandlerService::noErr;
        if (lastFailed_)
            return status;
        current = on ? State::on : State::off;
        return HandlerService::noErr;
    }
    QString failureReason() const override { return lastFailed_ ? reason : QString(); }
    std::optional<QString> linksGoTo(QString* standIn) override {
        standIn->clear();
        return linksTo;
    }
    std::optional<QString> linksTo; // what linksGoTo() answers

private:
    bool lastFailed_ = false;
};

} // namespace platform::fake
