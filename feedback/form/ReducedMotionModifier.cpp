// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReducedMotionModifier.h"

#include "platform/MotionPreference.h"
#include "platform/Services.h"

#include <QAbstractAnimation>
#include <QWidget>

namespace Tellwick_Toolbox {

ReducedMotionModifier::ReducedMotionModifier(QWidget* content, bool reducedMotion)
    : QObject(content), reducedMotion_(reducedMotion) {
    setObjectName(QStringLiteral("ReducedMotionModifier"));
}

void ReducedMotionModifier::run(QAbstractAnimation* animation) {
    if (!reducedMotion_) {
        animation->start(QAbstractAnimation::DeleteWhenStopped);
        return;
    }
    // Jumping to the last frame sets the end values with no frames in between; endless ones just stop.
    const int end = animation->totalDuration();
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    if (end < 0)
        animation->stop();
    else
        animation->setCurrentTime(end);
}

ReducedMotionModifier* ReducedMotionModifier::of(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget())
        if (auto* modifier = widget->findChild<ReducedMotionModifier*>(QString(), Qt::FindDirectChildrenOnly))
            return modifier;
    return nullptr;
}

ReducedMotionModifier* reducedMotion(QWidget* content) {
    const bool reduce = platform::has<platform::MotionPreference>() &&
                        platform::get<platform::MotionPreference>()->reduceMotion();
    if (auto* existing = content->findChild<ReducedMotionModifier*>(QString(), Qt::FindDirectChildrenOnly)) {
        existing->setReducedMotion(reduce);
        return existing;
    }
    return new ReducedMotionModifier(content, reduce);
}

void animate(QWidget* widget, QAbstractAnimation* animation) {
    if (auto* modifier = ReducedMotionModifier::of(widget))
        modifier->run(animation);
    else
        animation->start(QAbstractAnimation::DeleteWhenStopped);
}

} // namespace Tellwick_Toolbox
