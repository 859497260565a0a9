// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TaskButtons/CancellationToken.h"

#include <memory>
#include <optional>

namespace TaskButtons {

// Handle of one run of an AsyncButton: what the button reports to its ancestors. Equal handles are the
// same run.
class ButtonTask {
public:
    ButtonTask() : token_() {}
    void cancel() const { token_.cancel(); }
    bool isCancelled() const { return token_.isCancelled(); }
    const CancellationToken& token() const { return token_; }

    friend bool operator==(const ButtonTask& a, const ButtonTask& b) { return a.token_ == b.token_; }

private:
    CancellationToken token_;
};

} // namespace TaskButtons
