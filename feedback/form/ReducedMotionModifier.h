// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

class QAbstractAnimation;
class QWidget;

namespace Tellwick_Toolbox {

// Attached to a content widget: animations run through it jump straight to their end state while
// reduced motion is on, and play normally otherwise. Descendants of the content share the modifier.
class ReducedMotionModifier : public QObject {
    Q_OBJECT
public:
    ReducedMotionModifier(QWidget* content, bool reducedMotion);

    bool reducedMotion() const { return reducedMotion_; }
    void setReducedMotion(bool reducedMotion) { reducedMotion_ = reducedMotion; }

    // Starts the animation (deleted when stopped), or applies its end state at once.
    void run(QAbstractAnimation* animation);

    // The modifier of the widget or of its nearest ancestor that has one.
    static ReducedMotionModifier* of(const QWidget* widget);

private:
    bool reducedMotion_;
};

// Applies the modifier to `content` with the desktop's reduced-motion wish (the MotionPreference port,
// off when none is installed).
ReducedMotionModifier* reducedMotion(QWidget* content);

// Runs an animation of `widget`, honouring the modifier of the widget or an ancestor.
void animate(QWidget* widget, QAbstractAnimation* animation);

} // namespace Tellwick_Toolbox
