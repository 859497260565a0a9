// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/ButtonState.h"
#include "TaskButtons/ProgressStyle.h"
#include "TaskButtons/Shake.h"

#include <QLocale>
#include <QWidget>

class QGraphicsOpacityEffect;
class QLabel;
class QSequentialAnimationGroup;
class QStackedLayout;
class QVariantAnimation;

namespace TaskButtons {

class BarProgressView;
class CircularProgressView;
class IndeterminateProgressView;

// Default animation length for state changes.
inline constexpr int defaultAnimationMilliseconds = 350;

// The fraction as a whole percentage in `locale`, rounded to nearest with ties to even: 0.125 → "12%".
QString percentText(double fraction, const QLocale& locale = QLocale());

// Gives a widget an opacity that fades to each new target.
class OpacityFader : public QObject {
    Q_OBJECT
public:
    OpacityFader(QWidget* target, double opacity);
    double opacity() const;
    double targetOpacity() const { return target_; }
    void fadeTo(double opacity, bool animated = true);

private:
    void apply(double opacity);
    QGraphicsOpacityEffect* effect_;
    QVariantAnimation* animation_;
    double target_;
};

// Nothing while idle; a ring for a known fraction, a spinner otherwise.
class ProgressIndicator : public QWidget {
    Q_OBJECT
public:
    ProgressIndicator(const ButtonState* state, QWidget* parent = nullptr);
    CircularProgressView* ring() const { return ring_; }
    IndeterminateProgressView* spinner() const { return spinner_; }
    QVariantAnimation* ringAnimation() const { return ringAnimation_; }

private:
    void follow();
    const ButtonState* state_;
    QStackedLayout* stack_;
    CircularProgressView* ring_;
    IndeterminateProgressView* spinner_;
    OpacityFader* fader_;
    QVariantAnimation* ringAnimation_;
};

// The label hidden under a centred indicator while loading.
class OverlayLabel : public QWidget {
    Q_OBJECT
public:
    OverlayLabel(QWidget* label, const ButtonState* state, ProgressStyle style, QWidget* parent = nullptr);

    OpacityFader* labelFader() const { return labelFader_; }
    // The indicator on top now: nullptr while idle.
    QWidget* currentIndicator() const;
    BarProgressView* bar() const { return bar_; }
    IndeterminateProgressView* spinner() const { return spinner_; }
    QLabel* percent() const { return percent_; }

protected:
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void follow();
    const ButtonState* state_;
    ProgressStyle style_;
    OpacityFader* labelFader_;
    QStackedLayout* stack_;
    QWidget* none_;
    IndeterminateProgressView* spinner_;
    BarProgressView* bar_;
    QLabel* percent_;
};

// Pulses between full and half opacity while loading.
class PulseView : public QWidget {
    Q_OBJECT
public:
    static constexpr int halfPeriodMilliseconds = 1000;
    static constexpr double low = 0.5;

    PulseView(QWidget* button, const ButtonState* state, QWidget* parent = nullptr);
    bool isPulsing() const;
    double opacity() const;
    QSequentialAnimationGroup* animation() const { return pulse_; }

private:
    void follow(bool loading);
    QGraphicsOpacityEffect* effect_;
    QSequentialAnimationGroup* pulse_;
};

// Shakes its child sideways once per new failure. Keeps `amount` of room on both sides so the shake is
// not clipped.
class ShakeView : public QWidget {
    Q_OBJECT
public:
    ShakeView(QWidget* button, const ButtonState* state, Shake shake, QWidget* parent = nullptr);
    const Shake& shake() const { return shake_; }
    QVariantAnimation* animation() const { return animation_; }
    QWidget* child() const { return child_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void place();
    QWidget* child_;
    Shake shake_;
    QVariantAnimation* animation_;
};

} // namespace TaskButtons
