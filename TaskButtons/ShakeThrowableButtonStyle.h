// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/ThrowableButtonStyle.h"

namespace TaskButtons {

// One sideways shake per failure.
class ShakeThrowableButtonStyle : public ThrowableButtonStyle {
public:
    static constexpr double amount = 10;
    static constexpr int shakesPerUnit = 4;
    QWidget* makeButton(const ThrowableButtonStyleButtonConfiguration& configuration) const override;
};

} // namespace TaskButtons
