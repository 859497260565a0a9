// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>

#include <cmath>
#include <numbers>

namespace TaskButtons {

// Horizontal displacement of a shaking view: zero at every whole value of animatableData, so each step
// from one whole value to the next is one burst that comes to rest where it began.
struct Shake {
    double amount = 10;
    int shakesPerUnit = 3;
    double animatableData = 0;

    QPointF offset() const {
        return {amount * std::sin(animatableData * std::numbers::pi * shakesPerUnit), 0};
    }
};

} // namespace TaskButtons
