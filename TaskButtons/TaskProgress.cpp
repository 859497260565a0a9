// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/TaskProgress.h"

namespace TaskButtons {

QCoro::Task<> TaskProgress::beginTask() {
    co_return;
}

QCoro::Task<> TaskProgress::endTask() {
    co_return;
}

} // namespace TaskButtons
