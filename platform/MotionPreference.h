// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace platform {

// The desktop's accessibility wish to keep motion to a minimum.
class MotionPreference {
public:
    virtual ~MotionPreference() = default;
    virtual bool reduceMotion() = 0;
};

} // namespace platform
