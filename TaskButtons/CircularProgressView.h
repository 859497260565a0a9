// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace TaskButtons {

// A ring: a faint full track and a solid arc from the top, clockwise, for value of total.
class CircularProgressView : public QWidget {
    Q_OBJECT
public:
    static constexpr qreal lineWidth = 4;
    static constexpr qreal inset = 2;

    explicit CircularProgressView(double value = 0, double total = 1, QWidget* parent = nullptr);

    double value() const { return value_; }
    double total() const { return total_; }
    void setValue(double value);
    void setTotal(double total);

    // Share of the circle the arc covers, 0...1.
    double arcFraction() const;
    // The circle the strokes follow.
    QRectF ringRect() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double value_;
    double total_;
};

} // namespace TaskButtons
