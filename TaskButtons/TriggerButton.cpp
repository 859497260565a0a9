// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/TriggerButton.h"

Q_LOGGING_CATEGORY(lcTaskButtonsTrigger, "TaskButtons.Trigger")

namespace TaskButtons {

void TriggerButton::registerButton(const QString& id, Action action, const void* owner) {
    if (buttons_.count(id) != 0) {
        qCCritical(lcTaskButtonsTrigger,
                   "Registering a button with an already existing id: %s. The previous one was overridden.",
                   qUtf8Printable(id));
    }
    buttons_[id] = Entry{std::move(action), owner};
}

void TriggerButton::removeButton(const QString& id) {
    buttons_.erase(id);
}

void TriggerButton::removeButton(const QString& id, const void* owner) {
    const auto it = buttons_.find(id);
    if (it != buttons_.end() && it->second.owner == owner)
        buttons_.erase(it);
}

void TriggerButton::trigger(const QString& id) const {
    const auto it = buttons_.find(id);
    if (it == buttons_.end()) {
        qCCritical(lcTaskButtonsTrigger,
                   "Could not trigger button with id: %s. It is not currently on screen!",
                   qUtf8Printable(id));
        return;
    }
    // A copy: the action may remove or replace its own entry.
    const Action action = it->second.action;
    action();
}

std::shared_ptr<TriggerButton> TriggerButton::shared() {
    static const auto registry = std::make_shared<TriggerButton>();
    return registry;
}

} // namespace TaskButtons
