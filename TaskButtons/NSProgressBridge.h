// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/Progress.h"
#include "TaskButtons/TaskProgress.h"

#include <QMetaObject>

#include <memory>
#include <vector>

namespace TaskButtons {

// Follows a Progress the action hands over (possibly updated from other threads) and republishes its
// fraction on the main thread: absent while indeterminate.
class NSProgressBridge : public TaskProgress {
    Q_OBJECT
public:
    using TaskProgress::TaskProgress;
    ~NSProgressBridge() override;

    std::optional<double> fractionCompleted() const override { return fraction_; }
    void resetProgress() override;

    const std::shared_ptr<Progress>& nsProgress() const { return nsProgress_; }
    void setNsProgress(std::shared_ptr<Progress> progress);

private:
    void dropObservations();
    void apply(quint64 generation);

    std::optional<double> fraction_;
    std::shared_ptr<Progress> nsProgress_;
    std::vector<QMetaObject::Connection> observations_;
    // Updates already queued for an earlier progress object carry an older generation and are dropped.
    quint64 generation_ = 0;
};

} // namespace TaskButtons
