// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/ThrowableButtonStyle.h"

namespace TaskButtons {

// Shows nothing of failures.
class NoStyleThrowableButtonStyle : public ThrowableButtonStyle {};

} // namespace TaskButtons
