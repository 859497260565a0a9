// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/CircularProgressView.h"

#include <QPainter>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace TaskButtons {

CircularProgressView::CircularProgressView(double value, double total, QWidget* parent)
    : QWidget(parent), value_(value), total_(total) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void CircularProgressView::setValue(double value) {
    value_ = value;
    update();
}

void CircularProgressView::setTotal(double total) {
    total_ = total;
    update();
}

double CircularProgressView::arcFraction() const {
    if (!(total_ > 0) || !std::isfinite(value_))
        return 0;
    return std::clamp(value_ / total_, 0.0, 1.0);
}

QSize CircularProgressView::sizeHint() const {
    // The frame of a small activity indicator: one line of text at most.
    const int side = std::max(16, style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this));
    return {side, side};
}

QRectF CircularProgressView::ringRect() const {
    const qreal side = std::min(width(), height());
    QRectF square((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    // Inset by the margin, then by half the stroke so the stroke stays inside the frame.
    const qreal d = inset + lineWidth / 2;
    return square.adjusted(d, d, -d, -d);
}

void CircularProgressView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF ring = ringRect();

    QPen track(QColor(0, 0, 0), lineWidth, Qt::SolidLine, Qt::FlatCap);
    painter.setOpacity(0.33);
    painter.setPen(track);
    painter.drawEllipse(ring);

    painter.setOpacity(1.0);
    QPen arc(QColor(0, 0, 0), lineWidth, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(arc);
    // Qt angles are in 1/16 degree, counter-clockwise from 3 o'clock: start at 12, sweep clockwise.
    const int span = -static_cast<int>(std::lround(arcFraction() * 360 * 16));
    if (span != 0)
        painter.drawArc(ring, 90 * 16, span);
}

} // namespace TaskButtons
