// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QProgressBar;
class QVariantAnimation;

namespace TaskButtons {

// The platform's linear bar showing value of total. Moves to a new value with an animation, except back
// to 0, which is immediate (a new run must not slide backwards).
class BarProgressView : public QWidget {
    Q_OBJECT
public:
    explicit BarProgressView(double value = 0, double total = 1, QWidget* parent = nullptr);

    double value() const { return value_; }
    double total() const { return total_; }
    void setValue(double value);
    void setTotal(double total);

    // The share the bar shows at this moment (mid-animation included).
    double displayedFraction() const { return displayed_; }
    QProgressBar* bar() const { return bar_; }

private:
    void show(double fraction);
    double target() const;

    double value_;
    double total_;
    double displayed_ = 0;
    QProgressBar* bar_;
    QVariantAnimation* animation_;
};

} // namespace TaskButtons
