// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/Progress.h"

namespace TaskButtons {

namespace {
double fractionOf(std::int64_t total, std::int64_t completed) {
    if (total <= 0 || completed < 0)
        return 0;
    return static_cast<double>(completed) / static_cast<double>(total);
}
bool indeterminate(std::int64_t total, std::int64_t completed) {
    return total < 0 || completed < 0;
}
} // namespace

Progress::Progress(std::int64_t totalUnitCount, QObject* parent) : QObject(parent), total_(totalUnitCount) {}

std::int64_t Progress::totalUnitCount() const {
    QMutexLocker lock(&mutex_);
    return total_;
}

std::int64_t Progress::completedUnitCount() const {
    QMutexLocker lock(&mutex_);
    return completed_;
}

void Progress::setTotalUnitCount(std::int64_t count) {
    update(count, completedUnitCount());
}

void Progress::setCompletedUnitCount(std::int64_t count) {
    update(totalUnitCount(), count);
}

double Progress::fractionCompleted() const {
    QMutexLocker lock(&mutex_);
    return fractionOf(total_, completed_);
}

bool Progress::isIndeterminate() const {
    QMutexLocker lock(&mutex_);
    return indeterminate(total_, completed_);
}

void Progress::update(std::int64_t total, std::int64_t completed) {
    bool fractionChanged = false;
    bool indeterminateChanged_ = false;
    {
        QMutexLocker lock(&mutex_);
        fractionChanged = fractionOf(total, completed) != fractionOf(total_, completed_);
        indeterminateChanged_ = indeterminate(total, completed) != indeterminate(total_, completed_);
        total_ = total;
        completed_ = completed;
    }
    // Emitted outside the lock so observers may read back.
    if (fractionChanged)
        emit fractionCompletedChanged();
    if (indeterminateChanged_)
        emit indeterminateChanged();
}

} // namespace TaskButtons
