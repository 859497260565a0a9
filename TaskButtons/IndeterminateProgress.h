// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/TaskProgress.h"

namespace TaskButtons {

// No fraction at all: the button shows a spinner while it runs.
class IndeterminateProgress : public TaskProgress {
    Q_OBJECT
public:
    using TaskProgress::TaskProgress;
    std::optional<double> fractionCompleted() const override { return std::nullopt; }
};

} // namespace TaskButtons
