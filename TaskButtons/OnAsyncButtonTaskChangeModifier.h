// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/AsyncButtonTaskPreferenceKey.h"

#include <QObject>
#include <QWidget>

#include <functional>
#include <optional>

namespace TaskButtons {

// Hears the runs of the async buttons inside a widget. The handler gets each new task value, present when
// a run starts and absent when it ends; the very first value is passed on only if a run is already
// present (an idle button appearing is not news). With several buttons, the latest report wins.
class OnAsyncButtonTaskChangeModifier : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(const std::optional<ButtonTask>&)>;

    // Attaches to `content` (and lives as long as it).
    static OnAsyncButtonTaskChangeModifier* attach(QWidget* content, Handler handler);

    // What a button calls with its current task.
    void report(const std::optional<ButtonTask>& task);

    bool initialized() const { return initialized_; }

    // Every modifier on `from` or its ancestors, nearest first.
    static QList<OnAsyncButtonTaskChangeModifier*> around(const QWidget* from);

private:
    OnAsyncButtonTaskChangeModifier(QWidget* content, Handler handler);

    Handler handler_;
    bool initialized_ = false;
    AsyncButtonTaskPreferenceKey::Value last_ = AsyncButtonTaskPreferenceKey::defaultValue();
};

} // namespace TaskButtons
