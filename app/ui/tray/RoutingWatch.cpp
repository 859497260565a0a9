// SPDX-License-Identifier: GPL-3.0-or-later
#include "RoutingWatch.h"

#include "platform/HandlerService.h"
#include "platform/Notifications.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <QPointer>

namespace Tolvane {

RoutingWatch::RoutingWatch(QObject* parent)
    : QObject(parent), last_(platform::get<platform::LinkRouting>()->state()) {}

void RoutingWatch::recheck() {
    const auto routing = platform::get<platform::LinkRouting>();
    const auto now = routing->state();
    const bool taken =
        last_ == platform::LinkRouting::State::on && now == platform::LinkRouting::State::displaced;
    last_ = now;
    if (!taken)
        return;
    QPointer<RoutingWatch> self(this);
    platform::get<platform::Notifications>()->notify(
        QCoreApplication::translate("Tolvane::RoutingWatch", "Another program now opens web links"),
        QCoreApplication::translate("Tolvane::RoutingWatch",
                                    "Link rules are off until you turn them on again."),
        QCoreApplication::translate("Tolvane::RoutingWatch", "Turn On"), [self] {
            const auto routing = platform::get<platform::LinkRouting>();
            if (routing->setOn(true) != platform::HandlerService::noErr)
                platform::get<platform::Notifications>()->notify(
                    QCoreApplication::translate("Tolvane::RoutingWatch", "Could not turn link rules on"),
                    routing->failureReason());
            if (self)
                self->recheck();
        });
}

} // namespace Tolvane
