// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/ButtonState.h"

#include <QMetaType>
#include <QWidget>

#include <concepts>
#include <functional>
#include <memory>

namespace TaskButtons {

struct ThrowableButtonStyleLabelConfiguration {
    QWidget* label = nullptr;
    int errorCount = 0;
    const ButtonState* state = nullptr;
};

struct ThrowableButtonStyleButtonConfiguration {
    QWidget* button = nullptr;
    int errorCount = 0;
    const ButtonState* state = nullptr;
};

// How a button answers failures; same contract as AsyncButtonStyle.
class ThrowableButtonStyle {
public:
    virtual ~ThrowableButtonStyle() = default;
    virtual QWidget* makeLabel(const ThrowableButtonStyleLabelConfiguration& configuration) const {
        return configuration.label;
    }
    virtual QWidget* makeButton(const ThrowableButtonStyleButtonConfiguration& configuration) const {
        return configuration.button;
    }
};

class AnyThrowableButtonStyle {
public:
    AnyThrowableButtonStyle() : AnyThrowableButtonStyle(ThrowableButtonStyle()) {}

    template <std::derived_from<ThrowableButtonStyle> Style> AnyThrowableButtonStyle(Style style) {
        auto shared = std::make_shared<const Style>(std::move(style));
        _makeLabel = [shared](const ThrowableButtonStyleLabelConfiguration& c) {
            return shared->makeLabel(c);
        };
        _makeButton = [shared](const ThrowableButtonStyleButtonConfiguration& c) {
            return shared->makeButton(c);
        };
        identity_ = shared;
    }

    QWidget* makeLabel(const ThrowableButtonStyleLabelConfiguration& c) const { return _makeLabel(c); }
    QWidget* makeButton(const ThrowableButtonStyleButtonConfiguration& c) const { return _makeButton(c); }

    friend bool operator==(const AnyThrowableButtonStyle& a, const AnyThrowableButtonStyle& b) {
        return a.identity_ == b.identity_;
    }

    std::function<QWidget*(const ThrowableButtonStyleLabelConfiguration&)> _makeLabel;
    std::function<QWidget*(const ThrowableButtonStyleButtonConfiguration&)> _makeButton;

private:
    std::shared_ptr<const void> identity_;
};

} // namespace TaskButtons

Q_DECLARE_METATYPE(TaskButtons::AnyThrowableButtonStyle)
