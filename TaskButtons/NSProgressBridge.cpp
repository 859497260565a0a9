// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/NSProgressBridge.h"

namespace TaskButtons {

NSProgressBridge::~NSProgressBridge() {
    dropObservations();
}

void NSProgressBridge::dropObservations() {
    for (const auto& connection : observations_)
        QObject::disconnect(connection);
    observations_.clear();
    ++generation_;
}

void NSProgressBridge::setNsProgress(std::shared_ptr<Progress> progress) {
    dropObservations();
    nsProgress_ = std::move(progress);
    if (!nsProgress_)
        return;
    const quint64 generation = generation_;
    // The signals may come from any thread; the queued connection brings the update to ours, and is
    // dropped with this object.
    auto update = [this, generation] { apply(generation); };
    observations_.push_back(
        connect(nsProgress_.get(), &Progress::fractionCompletedChanged, this, update, Qt::QueuedConnection));
    observations_.push_back(
        connect(nsProgress_.get(), &Progress::indeterminateChanged, this, update, Qt::QueuedConnection));
    // The current state, delivered like any later change.
    QMetaObject::invokeMethod(this, update, Qt::QueuedConnection);
}

void NSProgressBridge::resetProgress() {
    setNsProgress(nullptr);
    if (fraction_) {
        fraction_.reset();
        emit fractionCompletedChanged();
    }
}

void NSProgressBridge::apply(quint64 generation) {
    if (generation != generation_ || !nsProgress_)
        return;
    std::optional<double> value;
    if (!nsProgress_->isIndeterminate())
        value = nsProgress_->fractionCompleted();
    if (value == fraction_)
        return;
    fraction_ = value;
    emit fractionCompletedChanged();
}

} // namespace TaskButtons
