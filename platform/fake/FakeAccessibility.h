// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Accessibility.h"

#include <QList>

namespace platform::fake {

class FakeAccessibility : public Accessibility {
public:
    bool trusted = true;
    QList<bool> prompts; // the prompt flag of every check, in order

    bool isProcessTrusted(bool prompt) override {
        prompts << prompt;
        return trusted;
    }
};

} // namespace platform::fake
