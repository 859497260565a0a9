// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/AsyncButton.h"

#include "TaskButtons/Environment.h"
#include "TaskButtons/IndeterminateProgress.h"
#include "TaskButtons/OnAsyncButtonTaskChangeModifier.h"
#include "TaskButtons/PlatformButton.h"

#include <QEvent>
#include <QPointer>

namespace TaskButtons {

AsyncButton::AsyncButton(ButtonLabel label, Action action, std::shared_ptr<TaskProgress> progress,
                         ButtonOptions options, QWidget* parent)
    : ButtonBase(std::move(label), std::move(options), parent),
      action_(std::make_shared<const Action>(std::move(action))),
      progress_(progress ? std::move(progress) : std::make_shared<IndeterminateProgress>()) {
    state_->setCancel([this] { cancel(); });
    connect(progress_.get(), &TaskProgress::fractionCompletedChanged, this,
            [this] { state_->setFractionCompleted(progress_->fractionCompleted()); });
    state_->setFractionCompleted(progress_->fractionCompleted());
    buildIfNeeded();
}

AsyncButton::AsyncButton(ButtonLabel label, SimpleAction action, ButtonOptions options, QWidget* parent)
    : AsyncButton(std::move(label),
                  Action([action = std::move(action)](TaskProgress&, CancellationToken token) {
                      return action(token);
                  }),
                  nullptr, std::move(options), parent) {}

AsyncButton::~AsyncButton() {
    // The run goes on detached; tell the action it is no longer wanted.
    if (run_)
        run_->handle.cancel();
}

void AsyncButton::start() {
    if (task_)
        return;
    if (!isEnabled())
        return;
    auto run = std::make_shared<Run>();
    run->generation = ++generation_;
    run_ = run;
    setTask(run->handle);
    // Eager: runs up to its first suspension right here, then goes on from the event loop.
    perform(QPointer<AsyncButton>(this), run, progress_, action_);
}

QCoro::Task<> AsyncButton::perform(QPointer<AsyncButton> self, std::shared_ptr<Run> run,
                                   std::shared_ptr<TaskProgress> progress,
                                   std::shared_ptr<const Action> action) {
    progress->resetProgress();
    auto begin = progress->beginTask();
    co_await begin;
    bool failed = false;
    try {
        auto work = (*action)(*progress, run->handle.token());
        co_await work;
    } catch (...) {
        failed = true;
    }
    // An action that ignores cancellation and returns normally was still cancelled.
    failed = failed || run->handle.isCancelled();
    if (!self)
        co_return;
    if (failed)
        self->addFailure();
    // After a cancel a newer run may already own the progress and the task; leave both to it.
    if (self->generation_ != run->generation) {
        emit self->runFinished(failed);
        co_return;
    }
    auto end = progress->endTask();
    co_await end;
    if (!self)
        co_return;
    if (self->run_ == run) {
        self->run_.reset();
        self->setTask(std::nullopt);
    }
    emit self->runFinished(failed);
}

void AsyncButton::cancel() {
    if (!task_)
        return;
    task_->cancel();
    setTask(std::nullopt);
}

void AsyncButton::setTask(std::optional<ButtonTask> task) {
    task_ = std::move(task);
    refresh();
    report();
    emit taskChanged();
}

void AsyncButton::report() {
    for (auto* modifier : OnAsyncButtonTaskChangeModifier::around(this))
        modifier->report(task_);
}

bool AsyncButton::stylesChanged() const {
    return !(asyncButtonStyle(this) == asyncStyle_) || !(throwableButtonStyle(this) == throwableStyle_);
}

void AsyncButton::takeStyles() {
    asyncStyle_ = asyncButtonStyle(this);
    throwableStyle_ = throwableButtonStyle(this);
}

QWidget* AsyncButton::styleLabel(QWidget* label) {
    auto cancel = [this] { this->cancel(); };
    QWidget* styled = asyncStyle_.makeLabel(AsyncButtonStyleLabelConfiguration{
        label, state_->isLoading(), state_->fractionCompleted(), cancel, state_});
    return throwableStyle_.makeLabel(ThrowableButtonStyleLabelConfiguration{styled, errorCount(), state_});
}

QWidget* AsyncButton::styleButton(QWidget* button) {
    auto cancel = [this] { this->cancel(); };
    QWidget* styled = asyncStyle_.makeButton(AsyncButtonStyleButtonConfiguration{
        button, state_->isLoading(), state_->fractionCompleted(), cancel, state_});
    return throwableStyle_.makeButton(ThrowableButtonStyleButtonConfiguration{styled, errorCount(), state_});
}

void AsyncButton::refresh() {
    const bool loading = task_.has_value();
    state_->setLoading(loading);
    if (auto* button = platformButton()) {
        button->setEnabled(!(loading && disabledWhenLoading(this)));
        button->setAttribute(Qt::WA_TransparentForMouseEvents, loading && !allowsHitTestingWhenLoading(this));
    }
}

void AsyncButton::showEvent(QShowEvent* event) {
    ButtonBase::showEvent(event);
    report();
}

void AsyncButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::ParentChange)
        refresh();
    ButtonBase::changeEvent(event);
}

} // namespace TaskButtons
