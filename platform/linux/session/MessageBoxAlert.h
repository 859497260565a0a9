// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Alert.h"

namespace platform::linux_ {

class MessageBoxAlert : public Alert {
public:
    int runModal(const AlertRequest& request) override;
};

} // namespace platform::linux_
