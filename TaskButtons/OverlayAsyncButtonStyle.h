// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/AsyncButtonStyle.h"
#include "TaskButtons/ProgressStyle.h"

namespace TaskButtons {

// Hides the label under a spinner, a bar or a percentage while running.
class OverlayAsyncButtonStyle : public AsyncButtonStyle {
public:
    explicit OverlayAsyncButtonStyle(ProgressStyle style = ProgressStyle::bar) : style(style) {}
    QWidget* makeLabel(const AsyncButtonStyleLabelConfiguration& configuration) const override;

    ProgressStyle style;
};

} // namespace TaskButtons
