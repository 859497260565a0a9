// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/AsyncButtonStyle.h"

namespace TaskButtons {

// Shows nothing of the running state.
class NoStyleAsyncButtonStyle : public AsyncButtonStyle {};

} // namespace TaskButtons
