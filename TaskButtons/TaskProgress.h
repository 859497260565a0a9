// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <qcoro/qcorotask.h>

#include <optional>

namespace TaskButtons {

// What a running button shows about its task. Lives on the main thread; every change of the fraction is
// announced through fractionCompletedChanged().
class TaskProgress : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Share done from 0 to 1; absent while the amount of work is unknown.
    virtual std::optional<double> fractionCompleted() const = 0;
    virtual void resetProgress() {}
    virtual QCoro::Task<> beginTask();
    virtual QCoro::Task<> endTask();

signals:
    void fractionCompletedChanged();
};

} // namespace TaskButtons
