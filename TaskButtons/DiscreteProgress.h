// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/TaskProgress.h"

#include <cstdint>

namespace TaskButtons {

// Counted units: the action sets completedUnitCount as it works. The total must be positive.
class DiscreteProgress : public TaskProgress {
    Q_OBJECT
public:
    explicit DiscreteProgress(std::int64_t totalUnitCount, QObject* parent = nullptr)
        : TaskProgress(parent), totalUnitCount_(totalUnitCount) {}

    std::int64_t totalUnitCount() const { return totalUnitCount_; }
    std::int64_t completedUnitCount() const { return completedUnitCount_; }
    void setCompletedUnitCount(std::int64_t count);

    std::optional<double> fractionCompleted() const override {
        return static_cast<double>(completedUnitCount_) / static_cast<double>(totalUnitCount_);
    }
    void resetProgress() override { setCompletedUnitCount(0); }

private:
    const std::int64_t totalUnitCount_;
    std::int64_t completedUnitCount_ = 0;
};

} // namespace TaskButtons
