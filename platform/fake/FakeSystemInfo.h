// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SystemInfo.h"

namespace platform::fake {

class FakeSystemInfo : public SystemInfo {
public:
    Version version{12, 0, 0};
    QString model = "Test Machine";
    Version operatingSystemVersion() override { return version; }
    QString hardwareModel() override { return model; }
};

} // namespace platform::fake
