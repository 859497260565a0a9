// SPDX-License-Identifier: GPL-3.0-or-later
#include "TaskButtons/StyleViews.h"

#include "TaskButtons/BarProgressView.h"
#include "TaskButtons/CircularProgressView.h"
#include "TaskButtons/IndeterminateProgressView.h"

#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QGridLayout>
#include <QLabel>
#include <QPropertyAnimation>
#include <QResizeEvent>
#include <QSequentialAnimationGroup>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <QVariantAnimation>

#include <cfenv>
#include <cmath>

namespace TaskButtons {

QString percentText(double fraction, const QLocale& locale) {
    // nearbyint follows the current rounding mode; make sure it is to-nearest-even.
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double whole = std::nearbyint(fraction * 100);
    std::fesetround(saved);
    return locale.toString(static_cast<qlonglong>(whole)) + locale.percent();
}

// --- OpacityFader

OpacityFader::OpacityFader(QWidget* target, double opacity)
    : QObject(target), effect_(new QGraphicsOpacityEffect(target)), animation_(new QVariantAnimation(this)),
      target_(opacity) {
    target->setGraphicsEffect(effect_);
    animation_->setDuration(defaultAnimationMilliseconds);
    animation_->setEasingCurve(QEasingCurve::InOutQuad);
    connect(animation_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& v) { apply(v.toDouble()); });
    apply(opacity);
}

double OpacityFader::opacity() const {
    return effect_->isEnabled() ? effect_->opacity() : 1.0;
}

void OpacityFader::fadeTo(double opacity, bool animated) {
    if (opacity == target_ && animation_->state() != QAbstractAnimation::Running)
        return;
    target_ = opacity;
    animation_->stop();
    if (!animated) {
        apply(opacity);
        return;
    }
    animation_->setStartValue(this->opacity());
    animation_->setEndValue(opacity);
    animation_->start();
}

void OpacityFader::apply(double opacity) {
    effect_->setOpacity(opacity);
    // An opaque widget needs no offscreen rendering.
    effect_->setEnabled(opacity < 1.0);
}

// --- ProgressIndicator

ProgressIndicator::ProgressIndicator(const ButtonState* state, QWidget* parent)
    : QWidget(parent), state_(state), stack_(new QStackedLayout(this)), ring_(new CircularProgressView(0, 1)),
      spinner_(new IndeterminateProgressView), ringAnimation_(new QVariantAnimation(this)) {
    ringAnimation_->setDuration(defaultAnimationMilliseconds);
    ringAnimation_->setEasingCurve(QEasingCurve::InOutQuad);
    connect(ringAnimation_, &QVariantAnimation::valueChanged, ring_,
            [this](const QVariant& v) { ring_->setValue(v.toDouble()); });
    stack_->addWidget(ring_);
    stack_->addWidget(spinner_);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    fader_ = new OpacityFader(this, state->isLoading() ? 1.0 : 0.0);
    connect(state, &ButtonState::isLoadingChanged, this, &ProgressIndicator::follow);
    connect(state, &ButtonState::fractionCompletedChanged, this, &ProgressIndicator::follow);
    follow();
}

void ProgressIndicator::follow() {
    const bool loading = state_->isLoading();
    setVisible(loading);
    fader_->fadeTo(loading ? 1.0 : 0.0);
    if (const auto fraction = state_->fractionCompleted()) {
        ringAnimation_->stop();
        if (loading && stack_->currentWidget() == ring_ && *fraction > ring_->value()) {
            ringAnimation_->setStartValue(ring_->value());
            ringAnimation_->setEndValue(*fraction);
            ringAnimation_->start();
        } else {
            ring_->setValue(*fraction);
        }
        stack_->setCurrentWidget(ring_);
    } else {
        stack_->setCurrentWidget(spinner_);
    }
}

// --- OverlayLabel

OverlayLabel::OverlayLabel(QWidget* label, const ButtonState* state, ProgressStyle style, QWidget* parent)
    : QWidget(parent), state_(state), style_(style), stack_(new QStackedLayout), none_(new QWidget),
      spinner_(new IndeterminateProgressView), bar_(new BarProgressView(0, 1)), percent_(new QLabel) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(label, 0, 0, Qt::AlignCenter);
    auto* overlay = new QWidget;
    // The overlay takes the label's frame; a bar must not widen the button.
    overlay->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    overlay->setLayout(stack_);
    stack_->setContentsMargins(0, 0, 0, 0);
    // The indicator never makes the button taller than its label.
    overlay->setMaximumHeight(std::max(label->sizeHint().height(), spinner_->sizeHint().height()));
    grid->addWidget(overlay, 0, 0);
    stack_->addWidget(none_);
    for (QWidget* w : {static_cast<QWidget*>(spinner_), static_cast<QWidget*>(percent_)}) {
        auto* centred = new QWidget;
        auto* box = new QVBoxLayout(centred);
        box->setContentsMargins(0, 0, 0, 0);
        box->addWidget(w, 0, Qt::AlignCenter);
        stack_->addWidget(centred);
    }
    stack_->addWidget(bar_);
    percent_->setAlignment(Qt::AlignCenter);
    labelFader_ = new OpacityFader(label, state->isLoading() ? 0.0 : 1.0);
    connect(state, &ButtonState::isLoadingChanged, this, &OverlayLabel::follow);
    connect(state, &ButtonState::fractionCompletedChanged, this, &OverlayLabel::follow);
    follow();
}

QWidget* OverlayLabel::currentIndicator() const {
    QWidget* page = stack_->currentWidget();
    if (page == none_)
        return nullptr;
    if (page == bar_)
        return bar_;
    return page->findChild<QWidget*>();
}

void OverlayLabel::follow() {
    const bool loading = state_->isLoading();
    labelFader_->fadeTo(loading ? 0.0 : 1.0);
    const auto fraction = state_->fractionCompleted();
    if (!loading) {
        stack_->setCurrentWidget(none_);
    } else if (!fraction) {
        stack_->setCurrentWidget(spinner_->parentWidget());
    } else if (style_ == ProgressStyle::bar) {
        bar_->setValue(*fraction);
        stack_->setCurrentWidget(bar_);
    } else {
        percent_->setText(percentText(*fraction, locale()));
        // Room for the widest value, so the text does not jump as digits change.
        percent_->setMinimumWidth(percent_->fontMetrics().horizontalAdvance(percentText(1.0, locale())));
        stack_->setCurrentWidget(percent_->parentWidget());
    }
}

void OverlayLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LocaleChange)
        follow();
    QWidget::changeEvent(event);
}

bool OverlayLabel::event(QEvent* event) {
    // The application's default locale changed (the user's setting).
    if (event->type() == QEvent::LocaleChange) {
        setLocale(QLocale());
        follow();
    }
    return QWidget::event(event);
}

// --- PulseView

PulseView::PulseView(QWidget* button, const ButtonState* state, QWidget* parent)
    : QWidget(parent), effect_(new QGraphicsOpacityEffect(this)),
      pulse_(new QSequentialAnimationGroup(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(button);
    setGraphicsEffect(effect_);
    effect_->setEnabled(false);
    auto* down = new QPropertyAnimation(effect_, "opacity");
    down->setStartValue(1.0);
    down->setEndValue(low);
    down->setDuration(halfPeriodMilliseconds);
    auto* up = new QPropertyAnimation(effect_, "opacity");
    up->setStartValue(low);
    up->setEndValue(1.0);
    up->setDuration(halfPeriodMilliseconds);
    pulse_->addAnimation(down);
    pulse_->addAnimation(up);
    pulse_->setLoopCount(-1);
    connect(state, &ButtonState::isLoadingChanged, this, &PulseView::follow);
    follow(state->isLoading());
}

bool PulseView::isPulsing() const {
    return pulse_->state() == QAbstractAnimation::Running;
}

double PulseView::opacity() const {
    return effect_->isEnabled() ? effect_->opacity() : 1.0;
}

void PulseView::follow(bool loading) {
    if (loading) {
        effect_->setEnabled(true);
        pulse_->start();
    } else {
        pulse_->stop();
        effect_->setOpacity(1.0);
        effect_->setEnabled(false);
    }
}

// --- ShakeView

ShakeView::ShakeView(QWidget* button, const ButtonState* state, Shake shake, QWidget* parent)
    : QWidget(parent), child_(button), shake_(shake), animation_(new QVariantAnimation(this)) {
    child_->setParent(this);
    shake_.animatableData = state->errorCount();
    animation_->setDuration(defaultAnimationMilliseconds);
    animation_->setEasingCurve(QEasingCurve::InOutQuad);
    connect(animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        shake_.animatableData = v.toDouble();
        place();
    });
    connect(state, &ButtonState::errorCountChanged, this, [this](int errorCount) {
        animation_->stop();
        animation_->setStartValue(shake_.animatableData);
        animation_->setEndValue(static_cast<double>(errorCount));
        animation_->start();
    });
    setSizePolicy(child_->sizePolicy());
    place();
}

QSize ShakeView::sizeHint() const {
    const int room = static_cast<int>(std::ceil(std::abs(shake_.amount)));
    return child_->sizeHint() + QSize(2 * room, 0);
}

QSize ShakeView::minimumSizeHint() const {
    const int room = static_cast<int>(std::ceil(std::abs(shake_.amount)));
    return child_->minimumSizeHint() + QSize(2 * room, 0);
}

void ShakeView::resizeEvent(QResizeEvent*) {
    place();
}

bool ShakeView::event(QEvent* event) {
    // The child's size hint changed: pass it on to whoever lays this view out.
    if (event->type() == QEvent::LayoutRequest) {
        updateGeometry();
        place();
    }
    return QWidget::event(event);
}

void ShakeView::place() {
    const int room = static_cast<int>(std::ceil(std::abs(shake_.amount)));
    const int dx = static_cast<int>(std::lround(shake_.offset().x()));
    child_->setGeometry(room + dx, 0, std::max(0, width() - 2 * room), height());
}

} // namespace TaskButtons
