// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/AsyncButtonStyle.h"
#include "TaskButtons/ThrowableButtonStyle.h"
#include "TaskButtons/TriggerButton.h"

#include <QWidget>

#include <memory>

namespace TaskButtons {

// Values a widget sets for itself and everything inside it. A button reads the value of its nearest
// ancestor (or itself) that sets one, else the default. Buttons read styles when they are shown and the
// loading flags at every change of their state.

// Default: an overlay with a bar.
void setAsyncButtonStyle(QWidget* scope, AnyAsyncButtonStyle style);
AnyAsyncButtonStyle asyncButtonStyle(const QWidget* from);
AnyAsyncButtonStyle defaultAsyncButtonStyle();

// Default: a shake.
void setThrowableButtonStyle(QWidget* scope, AnyThrowableButtonStyle style);
AnyThrowableButtonStyle throwableButtonStyle(const QWidget* from);
AnyThrowableButtonStyle defaultThrowableButtonStyle();

// Default false: a running button does not look disabled.
void setDisabledWhenLoading(QWidget* scope, bool disabled);
bool disabledWhenLoading(const QWidget* from);

// Default false: a running button ignores the pointer.
void setAllowsHitTestingWhenLoading(QWidget* scope, bool allowed);
bool allowsHitTestingWhenLoading(const QWidget* from);

// Default: TriggerButton::shared().
void setTriggerButton(QWidget* scope, std::shared_ptr<TriggerButton> registry);
std::shared_ptr<TriggerButton> triggerButton(const QWidget* from);

} // namespace TaskButtons

Q_DECLARE_METATYPE(std::shared_ptr<TaskButtons::TriggerButton>)
