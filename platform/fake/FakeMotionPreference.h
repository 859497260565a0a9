// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MotionPreference.h"

namespace platform::fake {

class FakeMotionPreference : public MotionPreference {
public:
    bool reduce = false;
    bool reduceMotion() override { return reduce; }
};

} // namespace platform::fake
