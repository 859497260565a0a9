// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/AsyncButtonStyle.h"

namespace TaskButtons {

// A ring or spinner after the label while running.
class TrailingAsyncButtonStyle : public AsyncButtonStyle {
public:
    static constexpr int spacing = 8;
    QWidget* makeLabel(const AsyncButtonStyleLabelConfiguration& configuration) const override;
};

} // namespace TaskButtons
