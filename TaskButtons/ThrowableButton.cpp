// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/ThrowableButton.h"

#include "TaskButtons/Environment.h"

namespace TaskButtons {

ThrowableButton::ThrowableButton(ButtonLabel label, Action action, ButtonOptions options, QWidget* parent)
    : ButtonBase(std::move(label), std::move(options), parent), action_(std::move(action)) {
    buildIfNeeded();
}

void ThrowableButton::start() {
    if (!isEnabled())
        return;
    try {
        action_();
    } catch (...) {
        addFailure();
    }
}

bool ThrowableButton::stylesChanged() const {
    return !(throwableButtonStyle(this) == throwableStyle_);
}

void ThrowableButton::takeStyles() {
    throwableStyle_ = throwableButtonStyle(this);
}

QWidget* ThrowableButton::styleLabel(QWidget* label) {
    return throwableStyle_.makeLabel(ThrowableButtonStyleLabelConfiguration{label, errorCount(), state_});
}

QWidget* ThrowableButton::styleButton(QWidget* button) {
    return throwableStyle_.makeButton(ThrowableButtonStyleButtonConfiguration{button, errorCount(), state_});
}

} // namespace TaskButtons
