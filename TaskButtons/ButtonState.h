// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>
#include <optional>

namespace TaskButtons {

// The live state of one button. Styles build their views once and follow these signals, the way a
// declarative view would be rebuilt on each change.
class ButtonState : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    bool isLoading() const { return isLoading_; }
    std::optional<double> fractionCompleted() const { return fraction_; }
    int errorCount() const { return errorCount_; }
    void cancel() const {
        if (cancel_)
            cancel_();
    }

    void setLoading(bool loading);
    void setFractionCompleted(std::optional<double> fraction);
    void setErrorCount(int count);
    void setCancel(std::function<void()> cancel) { cancel_ = std::move(cancel); }

signals:
    void isLoadingChanged(bool isLoading);
    void fractionCompletedChanged();
    void errorCountChanged(int errorCount);

private:
    bool isLoading_ = false;
    std::optional<double> fraction_;
    int errorCount_ = 0;
    std::function<void()> cancel_;
};

} // namespace TaskButtons
