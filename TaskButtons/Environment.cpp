// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/Environment.h"

#include "TaskButtons/OverlayAsyncButtonStyle.h"
#include "TaskButtons/ShakeThrowableButtonStyle.h"

#include <QVariant>

namespace TaskButtons {

namespace {
constexpr const char* asyncStyleKey = "TaskButtons.AsyncButtonStyleKey";
constexpr const char* throwableStyleKey = "TaskButtons.ThrowableButtonStyleKey";
constexpr const char* disabledKey = "TaskButtons.DisabledWhenLoadingKey";
constexpr const char* hitTestingKey = "TaskButtons.AllowsHitTestingWhenLoadingKey";
constexpr const char* triggerKey = "TaskButtons.TriggerEnvironmentKey";

QVariant lookup(const QWidget* from, const char* key) {
    for (const QWidget* w = from; w; w = w->parentWidget()) {
        const QVariant value = w->property(key);
        if (value.isValid())
            return value;
    }
    return {};
}
} // namespace

AnyAsyncButtonStyle defaultAsyncButtonStyle() {
    static const AnyAsyncButtonStyle style = OverlayAsyncButtonStyle(ProgressStyle::bar);
    return style;
}

AnyThrowableButtonStyle defaultThrowableButtonStyle() {
    static const AnyThrowableButtonStyle style = ShakeThrowableButtonStyle();
    return style;
}

void setAsyncButtonStyle(QWidget* scope, AnyAsyncButtonStyle style) {
    scope->setProperty(asyncStyleKey, QVariant::fromValue(style));
}

AnyAsyncButtonStyle asyncButtonStyle(const QWidget* from) {
    const QVariant value = lookup(from, asyncStyleKey);
    return value.isValid() ? value.value<AnyAsyncButtonStyle>() : defaultAsyncButtonStyle();
}

void setThrowableButtonStyle(QWidget* scope, AnyThrowableButtonStyle style) {
    scope->setProperty(throwableStyleKey, QVariant::fromValue(style));
}

AnyThrowableButtonStyle throwableButtonStyle(const QWidget* from) {
    const QVariant value = lookup(from, throwableStyleKey);
    return value.isValid() ? value.value<AnyThrowableButtonStyle>() : defaultThrowableButtonStyle();
}

void setDisabledWhenLoading(QWidget* scope, bool disabled) {
    scope->setProperty(disabledKey, disabled);
}

bool disabledWhenLoading(const QWidget* from) {
    const QVariant value = lookup(from, disabledKey);
    return value.isValid() && value.toBool();
}

void setAllowsHitTestingWhenLoading(QWidget* scope, bool allowed) {
    scope->setProperty(hitTestingKey, allowed);
}

bool allowsHitTestingWhenLoading(const QWidget* from) {
    const QVariant value = lookup(from, hitTestingKey);
    return value.isValid() && value.toBool();
}

void setTriggerButton(QWidget* scope, std::shared_ptr<TriggerButton> registry) {
    scope->setProperty(triggerKey, QVariant::fromValue(registry));
}

std::shared_ptr<TriggerButton> triggerButton(const QWidget* from) {
    const QVariant value = lookup(from, triggerKey);
    auto registry = value.isValid() ? value.value<std::shared_ptr<TriggerButton>>() : nullptr;
    return registry ? registry : TriggerButton::shared();
}

} // namespace TaskButtons
