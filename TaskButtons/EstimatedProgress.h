// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/Sleeper.h"
#include "TaskButtons/TaskProgress.h"

#include <chrono>
#include <concepts>
#include <memory>

namespace TaskButtons {

// A time-based guess: rises in 100 equal steps to 0.85 over 0.85 of the estimated duration, waits there,
// and jumps to 1.0 when the run ends.
class EstimatedProgress : public TaskProgress {
    Q_OBJECT
public:
    static constexpr int steps = 100;
    static constexpr double step = 0.0085;
    static constexpr double stop = 0.85;
    static constexpr std::uint64_t settleNanoseconds = 100'000'000;

    // An estimate in nanoseconds; a signed count must not be negative.
    template <std::integral Nanoseconds>
    explicit EstimatedProgress(Nanoseconds nanoseconds, QObject* parent = nullptr)
        : EstimatedProgress(std::make_shared<NanosecondsSleeper>(checkedNanoseconds(nanoseconds)),
                            std::make_shared<NanosecondsSleeper>(settleNanoseconds), parent) {}

    template <typename Rep, typename Period>
    explicit EstimatedProgress(std::chrono::duration<Rep, Period> estimate, QObject* parent = nullptr)
        : EstimatedProgress(std::make_shared<DurationSleeper>(
                                std::chrono::duration_cast<std::chrono::nanoseconds>(estimate)),
                            std::make_shared<NanosecondsSleeper>(settleNanoseconds), parent) {}

    // `sleeper` spans the whole estimate; `settleSleeper` the pause after the run (used whole).
    EstimatedProgress(std::shared_ptr<const Sleeper> sleeper, std::shared_ptr<const Sleeper> settleSleeper,
                      QObject* parent = nullptr);
    ~EstimatedProgress() override;

    std::optional<double> fractionCompleted() const override { return fraction_; }
    void resetProgress() override;
    QCoro::Task<> beginTask() override;
    QCoro::Task<> endTask() override;

    const Sleeper& sleeper() const { return *sleeper_; }
    bool isEstimating() const { return task_.has_value(); }

private:
    template <std::integral I> static std::uint64_t checkedNanoseconds(I value) {
        if constexpr (std::is_signed_v<I>) {
            Q_ASSERT_X(value >= 0, "EstimatedProgress", "the estimate must not be negative");
            return value < 0 ? 0 : static_cast<std::uint64_t>(value);
        } else {
            return static_cast<std::uint64_t>(value);
        }
    }
    QCoro::Task<> estimate(CancellationToken token);
    void setFraction(double value);

    std::shared_ptr<const Sleeper> sleeper_;
    std::shared_ptr<const Sleeper> settleSleeper_;
    double fraction_ = 0;
    std::optional<CancellationToken> task_;
};

} // namespace TaskButtons
