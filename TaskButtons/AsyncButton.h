// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/AsyncButtonStyle.h"
#include "TaskButtons/ButtonBase.h"
#include "TaskButtons/ButtonTask.h"
#include "TaskButtons/TaskProgress.h"
#include "TaskButtons/ThrowableButtonStyle.h"

#include <qcoro/qcorotask.h>

#include <functional>
#include <memory>
#include <optional>

namespace TaskButtons {

// A button whose action runs as a coroutine. While it runs the button shows its progress (through the
// async style), ignores further presses and can be cancelled; a run that throws or is cancelled counts
// as a failure (through the throwable style).
class AsyncButton : public ButtonBase {
    Q_OBJECT
public:
    // The action may report into the progress object; it should give up when the token is cancelled
    // (throwing CancellationError, or returning). Any exception is a failed run.
    using Action = std::function<QCoro::Task<>(TaskProgress& progress, CancellationToken token)>;
    using SimpleAction = std::function<QCoro::Task<>(CancellationToken token)>;

    // Without a progress object the button shows an indeterminate one.
    AsyncButton(ButtonLabel label, Action action, std::shared_ptr<TaskProgress> progress = nullptr,
                ButtonOptions options = {}, QWidget* parent = nullptr);
    AsyncButton(ButtonLabel label, SimpleAction action, ButtonOptions options = {},
                QWidget* parent = nullptr);
    ~AsyncButton() override;

    // Starts a run unless one is running or the button is disabled.
    void start() override;
    // Cancels the running task; the button is idle at once and the run counts as failed when it returns.
    void cancel();

    bool isRunning() const { return task_.has_value(); }
    const std::optional<ButtonTask>& task() const { return task_; }
    TaskProgress& progress() const { return *progress_; }

signals:
    void taskChanged();
    // A run reached its end (after the progress's end), failed or not.
    void runFinished(bool failed);

protected:
    bool stylesChanged() const override;
    void takeStyles() override;
    QWidget* styleLabel(QWidget* label) override;
    QWidget* styleButton(QWidget* button) override;
    void refresh() override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Run {
        ButtonTask handle;
        quint64 generation = 0;
    };
    static QCoro::Task<> perform(QPointer<AsyncButton> self, std::shared_ptr<Run> run,
                                 std::shared_ptr<TaskProgress> progress,
                                 std::shared_ptr<const Action> action);
    void setTask(std::optional<ButtonTask> task);
    void report();

    std::shared_ptr<const Action> action_;
    std::shared_ptr<TaskProgress> progress_;
    std::optional<ButtonTask> task_;
    std::shared_ptr<Run> run_;
    quint64 generation_ = 0;
    AnyAsyncButtonStyle asyncStyle_;
    AnyThrowableButtonStyle throwableStyle_;
};

} // namespace TaskButtons
