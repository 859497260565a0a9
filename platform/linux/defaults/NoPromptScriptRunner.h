// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ScriptRunner.h"

namespace platform::linux_ {

// Linux desktops ask for no confirmation after a handler change, so there is nothing to press.
class NoPromptScriptRunner : public ScriptRunner {
public:
    Outcome run(const QString&) override { return {}; }
};

} // namespace platform::linux_
