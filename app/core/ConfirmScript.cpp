// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConfirmScript.h"

#include "platform/Console.h"
#include "platform/ScriptRunner.h"
#include "platform/Services.h"

namespace Tolvane {

// clang-format off: one source line per script line
const QString confirmScriptSource =
    QStringLiteral("try\n"
                   "    tell application \"System Events\"\n"
                   "        tell application process \"CoreServicesUIAgent\"\n"
                   "            tell window 1\n"
                   "                tell (first button whose name starts with \"Use\")\n"
                   "                    perform action \"AXPress\"\n"
                   "                end tell\n"
                   "            end tell\n"
                   "        end tell\n"
                   "    end tell\n"
                   "end try");
// clang-format on

void runConfirmScript() {
    using Kind = platform::ScriptRunner::Outcome::Kind;
    platform::printLine(QStringLiteral("Running script to confirm dialog"));
    const auto outcome = platform::get<platform::ScriptRunner>()->run(confirmScriptSource);
    switch (outcome.kind) {
    case Kind::NotConstructed:
        platform::printLine(QStringLiteral("Unable to construct apple script"));
        break;
    case Kind::Failed:
        platform::printLine(QStringLiteral("There was a problem running the script."));
        platform::printLine(outcome.errorDescription);
        break;
    case Kind::Succeeded:
        platform::printLine(QStringLiteral("Script done."));
        break;
    }
}

} // namespace Tolvane
