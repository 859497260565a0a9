// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MotionPreference.h"

namespace platform::linux_ {

// GNOME's "enable-animations" switch; desktops without it never ask for reduced motion.
class GnomeMotionPreference : public MotionPreference {
public:
    bool reduceMotion() override;
};

} // namespace platform::linux_
