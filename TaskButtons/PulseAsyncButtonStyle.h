// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/AsyncButtonStyle.h"

namespace TaskButtons {

// The whole button pulses between full and half opacity while running.
class PulseAsyncButtonStyle : public AsyncButtonStyle {
public:
    QWidget* makeButton(const AsyncButtonStyleButtonConfiguration& configuration) const override;
};

} // namespace TaskButtons
