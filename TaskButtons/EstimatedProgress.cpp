// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/EstimatedProgress.h"

#include <QPointer>

namespace TaskButtons {

EstimatedProgress::EstimatedProgress(std::shared_ptr<const Sleeper> sleeper,
                                     std::shared_ptr<const Sleeper> settleSleeper, QObject* parent)
    : TaskProgress(parent), sleeper_(std::move(sleeper)), settleSleeper_(std::move(settleSleeper)) {}

EstimatedProgress::~EstimatedProgress() {
    if (task_)
        task_->cancel();
}

void EstimatedProgress::resetProgress() {
    setFraction(0);
}

QCoro::Task<> EstimatedProgress::beginTask() {
    if (task_)
        task_->cancel();
    task_ = CancellationToken();
    // Runs on its own; beginTask returns at the first wait.
    estimate(*task_);
    co_return;
}

QCoro::Task<> EstimatedProgress::estimate(CancellationToken token) {
    QPointer<EstimatedProgress> self(this);
    const auto sleeper = sleeper_; // outlives this object if it goes away mid-wait
    for (int i = 0; i < steps; ++i) {
        auto sleep = sleeper->sleep(step, token);
        const bool slept = co_await sleep;
        if (!slept || token.isCancelled() || !self)
            co_return;
        self->setFraction(self->fraction_ + step);
    }
}

QCoro::Task<> EstimatedProgress::endTask() {
    if (task_) {
        task_->cancel();
        task_.reset();
    }
    setFraction(1.0);
    const auto settle = settleSleeper_;
    auto pause = settle->sleep(1.0, CancellationToken());
    co_await pause;
}

void EstimatedProgress::setFraction(double value) {
    if (value == fraction_)
        return;
    fraction_ = value;
    emit fractionCompletedChanged();
}

} // namespace TaskButtons
