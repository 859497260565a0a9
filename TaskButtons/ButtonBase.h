// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/ButtonLabel.h"
#include "TaskButtons/ButtonState.h"

#include <QKeySequence>
#include <QWidget>

#include <memory>
#include <optional>

namespace TaskButtons {

class PlatformButton;
class TriggerButton;

// What the async and throwing buttons share: the label and platform button passed through the styles
// of the environment, the error count, triggering by identifier and keyboard shortcuts.
class ButtonBase : public QWidget {
    Q_OBJECT
public:
    ~ButtonBase() override;

    // Presses the button as a click, a shortcut or a trigger would.
    virtual void start() = 0;

    int errorCount() const { return state_->errorCount(); }
    const ButtonState& state() const { return *state_; }
    std::optional<ButtonRole> role() const { return role_; }
    const std::optional<QString>& id() const { return id_; }
    PlatformButton* platformButton() const { return button_; }

    // A shortcut anywhere in the button's window presses it.
    void addKeyboardShortcut(const QKeySequence& sequence);
    // Return (and keypad Enter) press the button, which looks like its window's default button.
    void setDefaultAction();

signals:
    void errorCountChanged(int errorCount);

protected:
    ButtonBase(ButtonLabel label, ButtonOptions options, QWidget* parent);

    // Builds the views, or rebuilds them when the styles in the environment changed.
    void buildIfNeeded();
    virtual bool stylesChanged() const = 0;
    virtual void takeStyles() = 0;
    virtual QWidget* styleLabel(QWidget* label) = 0;
    virtual QWidget* styleButton(QWidget* button) = 0;
    virtual void refresh() {}

    void addFailure() { state_->setErrorCount(state_->errorCount() + 1); }

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

    ButtonState* state_;

private:
    void unregister();

    ButtonLabel label_;
    std::optional<ButtonRole> role_;
    std::optional<QString> id_;
    PlatformButton* button_ = nullptr;
    QWidget* top_ = nullptr;
    bool built_ = false;
    bool isDefault_ = false;
    std::shared_ptr<TriggerButton> registry_;
};

} // namespace TaskButtons
