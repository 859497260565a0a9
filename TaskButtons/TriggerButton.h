// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>
#include <QString>

#include <functional>
#include <map>
#include <memory>

Q_DECLARE_LOGGING_CATEGORY(lcTaskButtonsTrigger)

namespace TaskButtons {

// Presses buttons by identifier from elsewhere in the interface. Buttons register while on screen.
// Main thread only.
class TriggerButton {
public:
    using Action = std::function<void()>;

    // Replaces (and logs) any action already stored under `id`. `owner` lets a button later remove only
    // its own entry.
    void registerButton(const QString& id, Action action, const void* owner = nullptr);
    // Removes the entry under `id`; with an owner, only if that owner registered it.
    void removeButton(const QString& id);
    void removeButton(const QString& id, const void* owner);
    // Runs the action under `id`, or logs that no such button is on screen.
    void trigger(const QString& id) const;

    bool contains(const QString& id) const { return buttons_.count(id) != 0; }
    std::size_t size() const { return buttons_.size(); }

    // The registry every button uses unless an ancestor provides another.
    static std::shared_ptr<TriggerButton> shared();

private:
    struct Entry {
        Action action;
        const void* owner;
    };
    std::map<QString, Entry> buttons_;
};

} // namespace TaskButtons
