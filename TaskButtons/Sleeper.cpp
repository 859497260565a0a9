// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/Sleeper.h"

namespace TaskButtons {

QCoro::Task<bool> NanosecondsSleeper::sleep(double fraction, CancellationToken token) const {
    const auto nanoseconds = static_cast<std::uint64_t>(static_cast<double>(duration) * fraction);
    return sleepFor(std::chrono::nanoseconds(static_cast<std::int64_t>(nanoseconds)), std::move(token));
}

QCoro::Task<bool> DurationSleeper::sleep(double fraction, CancellationToken token) const {
    const auto scaled = std::chrono::duration<double, std::nano>(duration) * fraction;
    return sleepFor(std::chrono::duration_cast<std::chrono::nanoseconds>(scaled), std::move(token));
}

} // namespace TaskButtons
