// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/CancellationToken.h"

#include <chrono>
#include <cstdint>

namespace TaskButtons {

// Waits for a share of a fixed duration. Time-based logic takes one of these so tests can drive it.
class Sleeper {
public:
    virtual ~Sleeper() = default;
    // Returns false when the wait ended because the token was cancelled.
    virtual QCoro::Task<bool> sleep(double fraction, CancellationToken token) const = 0;
};

class NanosecondsSleeper : public Sleeper {
public:
    explicit NanosecondsSleeper(std::uint64_t duration) : duration(duration) {}
    QCoro::Task<bool> sleep(double fraction, CancellationToken token) const override;

    std::uint64_t duration;
};

class DurationSleeper : public Sleeper {
public:
    explicit DurationSleeper(std::chrono::nanoseconds duration) : duration(duration) {}
    QCoro::Task<bool> sleep(double fraction, CancellationToken token) const override;

    std::chrono::nanoseconds duration;
};

} // namespace TaskButtons
