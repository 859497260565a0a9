// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {

// Runs a UI automation script (the confirmation of the handler change).
class ScriptRunner {
public:
    struct Outcome {
        enum class Kind { NotConstructed, Failed, Succeeded };
        Kind kind = Kind::Succeeded;
        QString errorDescription; // set when kind == Failed
    };

    virtual ~ScriptRunner() = default;
    // Called on a background thread.
    virtual Outcome run(const QString& source) = 0;
};

} // namespace platform
