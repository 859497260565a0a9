// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/ButtonBase.h"
#include "TaskButtons/ThrowableButtonStyle.h"

#include <functional>

namespace TaskButtons {

// A button whose synchronous action may throw; each throw is one more failure for the throwable style.
class ThrowableButton : public ButtonBase {
    Q_OBJECT
public:
    using Action = std::function<void()>;

    ThrowableButton(ButtonLabel label, Action action, ButtonOptions options = {}, QWidget* parent = nullptr);

    void start() override;

protected:
    bool stylesChanged() const override;
    void takeStyles() override;
    QWidget* styleLabel(QWidget* label) override;
    QWidget* styleButton(QWidget* button) override;

private:
    Action action_;
    AnyThrowableButtonStyle throwableStyle_;
};

} // namespace TaskButtons
