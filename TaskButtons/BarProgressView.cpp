// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/BarProgressView.h"

#include <QProgressBar>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <algorithm>
#include <cmath>

namespace TaskButtons {

namespace {
constexpr int resolution = 10000;
constexpr int animationMilliseconds = 350;
} // namespace

BarProgressView::BarProgressView(double value, double total, QWidget* parent)
    : QWidget(parent), value_(value), total_(total), bar_(new QProgressBar(this)),
      animation_(new QVariantAnimation(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar_, 0, Qt::AlignVCenter);
    bar_->setRange(0, resolution);
    bar_->setTextVisible(false);
    // Thin enough to sit inside a line of button text.
    bar_->setMaximumHeight(std::max(4, fontMetrics().height() / 2));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    animation_->setDuration(animationMilliseconds);
    animation_->setEasingCurve(QEasingCurve::InOutQuad);
    connect(animation_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& v) { show(v.toDouble()); });
    show(target());
}

double BarProgressView::target() const {
    if (!(total_ > 0) || !std::isfinite(value_))
        return 0;
    return std::clamp(value_ / total_, 0.0, 1.0);
}

void BarProgressView::setValue(double value) {
    if (value == value_)
        return;
    value_ = value;
    animation_->stop();
    if (value == 0) {
        show(target());
        return;
    }
    animation_->setStartValue(displayed_);
    animation_->setEndValue(target());
    animation_->start();
}

void BarProgressView::setTotal(double total) {
    total_ = total;
    animation_->stop();
    show(target());
}

void BarProgressView::show(double fraction) {
    displayed_ = fraction;
    bar_->setValue(static_cast<int>(std::lround(fraction * resolution)));
}

} // namespace TaskButtons
