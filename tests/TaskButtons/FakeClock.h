// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Virtual time for the button tests: sleeps end when the test advances the clock, never by waiting.

#include "TaskButtons/Sleeper.h"

#include <QCoreApplication>
#include <QObject>
#include <QScopeGuard>

#include <chrono>
#include <cmath>
#include <set>

namespace TaskButtonsTest {

using namespace std::chrono_literals;
using std::chrono::nanoseconds;

// Runs everything queued on the event loop (coroutine resumptions included).
inline void drain() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::sendPostedEvents();
}

class FakeClock : public QObject {
    Q_OBJECT
public:
    nanoseconds now{0};
    std::multiset<nanoseconds> deadlines;

    // Moves time forward, stopping at each pending deadline so that chained sleeps see exact times.
    void advance(nanoseconds by) {
        const nanoseconds target = now + by;
        drain();
        for (;;) {
            auto next = deadlines.upper_bound(now);
            if (next == deadlines.end() || *next > target)
                break;
            now = *next;
            emit ticked();
            drain();
        }
        now = target;
        emit ticked();
        drain();
    }

signals:
    void ticked();
};

class FakeSleeper : public TaskButtons::Sleeper {
public:
    FakeSleeper(FakeClock* clock, nanoseconds duration) : clock(clock), duration(duration) {}

    QCoro::Task<bool> sleep(double fraction, TaskButtons::CancellationToken token) const override {
        const auto span = nanoseconds(std::llround(static_cast<double>(duration.count()) * fraction));
        return wait(clock, clock->now + span, std::move(token));
    }

    static QCoro::Task<bool> wait(FakeClock* clock, nanoseconds deadline,
                                  TaskButtons::CancellationToken token) {
        const auto entry = clock->deadlines.insert(deadline);
        auto forget = qScopeGuard([&] { clock->deadlines.erase(entry); });
        while (clock->now < deadline) {
            TaskButtons::SignalOrCancellation tick(clock, &FakeClock::ticked, token);
            const bool ticked = co_await tick;
            if (!ticked)
                co_return false;
        }
        co_return true;
    }

    FakeClock* clock;
    nanoseconds duration;
};

} // namespace TaskButtonsTest
