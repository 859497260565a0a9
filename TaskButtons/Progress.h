// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMutex>
#include <QObject>

#include <cstdint>

namespace TaskButtons {

// A progress report that any thread may update (a worker, a network callback). Indeterminate while either
// count is negative; the fraction of a zero total is 0. Signals are emitted on the updating thread.
class Progress : public QObject {
    Q_OBJECT
    Q_PROPERTY(double fractionCompleted READ fractionCompleted NOTIFY fractionCompletedChanged)
    Q_PROPERTY(bool indeterminate READ isIndeterminate NOTIFY indeterminateChanged)
public:
    explicit Progress(std::int64_t totalUnitCount = -1, QObject* parent = nullptr);

    std::int64_t totalUnitCount() const;
    std::int64_t completedUnitCount() const;
    void setTotalUnitCount(std::int64_t count);
    void setCompletedUnitCount(std::int64_t count);

    double fractionCompleted() const;
    bool isIndeterminate() const;

signals:
    void fractionCompletedChanged();
    void indeterminateChanged();

private:
    void update(std::int64_t total, std::int64_t completed);

    mutable QMutex mutex_;
    std::int64_t total_;
    std::int64_t completed_ = 0;
};

} // namespace TaskButtons
