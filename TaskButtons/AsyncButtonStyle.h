// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/ButtonState.h"

#include <QMetaType>
#include <QWidget>

#include <concepts>
#include <functional>
#include <memory>
#include <optional>

namespace TaskButtons {

// The values are those at build time; `state` carries every later change for the view to follow.
struct AsyncButtonStyleLabelConfiguration {
    QWidget* label = nullptr;
    bool isLoading = false;
    std::optional<double> fractionCompleted;
    std::function<void()> cancel;
    const ButtonState* state = nullptr;
};

struct AsyncButtonStyleButtonConfiguration {
    QWidget* button = nullptr;
    bool isLoading = false;
    std::optional<double> fractionCompleted;
    std::function<void()> cancel;
    const ButtonState* state = nullptr;
};

// How a button looks while its task runs. Each operation returns the view to use in place of its input,
// taking ownership of the input (usually by making it a child); the default returns the input unchanged.
class AsyncButtonStyle {
public:
    virtual ~AsyncButtonStyle() = default;
    virtual QWidget* makeLabel(const AsyncButtonStyleLabelConfiguration& configuration) const {
        return configuration.label;
    }
    virtual QWidget* makeButton(const AsyncButtonStyleButtonConfiguration& configuration) const {
        return configuration.button;
    }
};

// Any async style, by value: what the environment keeps.
class AnyAsyncButtonStyle {
public:
    // Leaves both views unchanged.
    AnyAsyncButtonStyle() : AnyAsyncButtonStyle(AsyncButtonStyle()) {}

    template <std::derived_from<AsyncButtonStyle> Style> AnyAsyncButtonStyle(Style style) {
        auto shared = std::make_shared<const Style>(std::move(style));
        _makeLabel = [shared](const AsyncButtonStyleLabelConfiguration& c) { return shared->makeLabel(c); };
        _makeButton = [shared](const AsyncButtonStyleButtonConfiguration& c) {
            return shared->makeButton(c);
        };
        identity_ = shared;
    }

    QWidget* makeLabel(const AsyncButtonStyleLabelConfiguration& c) const { return _makeLabel(c); }
    QWidget* makeButton(const AsyncButtonStyleButtonConfiguration& c) const { return _makeButton(c); }

    // Copies of one wrapped style are the same style.
    friend bool operator==(const AnyAsyncButtonStyle& a, const AnyAsyncButtonStyle& b) {
        return a.identity_ == b.identity_;
    }

    std::function<QWidget*(const AsyncButtonStyleLabelConfiguration&)> _makeLabel;
    std::function<QWidget*(const AsyncButtonStyleButtonConfiguration&)> _makeButton;

private:
    std::shared_ptr<const void> identity_;
};

} // namespace TaskButtons

Q_DECLARE_METATYPE(TaskButtons::AnyAsyncButtonStyle)
