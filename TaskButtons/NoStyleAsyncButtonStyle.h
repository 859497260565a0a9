#pragma once

#include "TaskButtons/AsyncButtonStyle.h"

namespace TaskButtons {

// Shows nothing of the running state.
class NoStyleAsyncButtonStyle : public AsyncButtonStyle {};

} // namespace TaskButtons
