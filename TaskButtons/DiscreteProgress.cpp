// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/DiscreteProgress.h"

namespace TaskButtons {

void DiscreteProgress::setCompletedUnitCount(std::int64_t count) {
    if (count == completedUnitCount_)
        return;
    completedUnitCount_ = count;
    emit fractionCompletedChanged();
}

} // namespace TaskButtons
