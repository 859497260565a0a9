// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/IndeterminateProgressView.h"

#include <QPainter>
#include <QStyle>
#include <QVariantAnimation>

#include <algorithm>

namespace TaskButtons {

IndeterminateProgressView::IndeterminateProgressView(QWidget* parent)
    : QWidget(parent), rotation_(new QVariantAnimation(this)) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    rotation_->setStartValue(0.0);
    rotation_->setEndValue(360.0);
    rotation_->setDuration(1000);
    rotation_->setLoopCount(-1);
    connect(rotation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        angle_ = v.toDouble();
        update();
    });
}

QSize IndeterminateProgressView::sizeHint() const {
    const int side = std::max(16, style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this));
    return {side, side};
}

bool IndeterminateProgressView::isSpinning() const {
    return rotation_->state() == QAbstractAnimation::Running;
}

void IndeterminateProgressView::showEvent(QShowEvent*) {
    rotation_->start();
}

void IndeterminateProgressView::hideEvent(QHideEvent*) {
    rotation_->stop();
}

void IndeterminateProgressView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height());
    const qreal stroke = std::max<qreal>(2, side / 8);
    QRectF ring((width() - side) / 2 + stroke, (height() - side) / 2 + stroke, side - 2 * stroke,
                side - 2 * stroke);
    QPen pen(palette().color(QPalette::WindowText), stroke, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pen);
    painter.translate(ring.center());
    painter.rotate(angle_);
    painter.translate(-ring.center());
    painter.drawArc(ring, 0, 270 * 16);
}

} // namespace TaskButtons
