// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/CancellationToken.h"

#include <QTimer>

namespace TaskButtons {

QCoro::Task<bool> sleepFor(std::chrono::nanoseconds duration, CancellationToken token) {
    if (token.isCancelled())
        co_return false;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    // Round up: a wait must never end early.
    timer.start(
        std::chrono::ceil<std::chrono::milliseconds>(std::max(duration, std::chrono::nanoseconds(0))));
    SignalOrCancellation wait(&timer, &QTimer::timeout, token);
    co_return co_await wait;
}

QCoro::Task<> sleepFor(std::chrono::nanoseconds duration) {
    auto sleep = sleepFor(duration, CancellationToken());
    co_await sleep;
}

} // namespace TaskButtons
