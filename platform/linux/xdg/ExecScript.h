// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop entry's command as a small shell script: one word that any opener can start with the
// links alone, also those that split an Exec line at every space or keep only its first word.
#pragma once

#include <QByteArray>
#include <QString>

namespace platform::linux_ {

// The lines that run `command` (an Exec value, string escapes undone) for the script's arguments,
// one word per argument, the last run in the script's place; empty when it cannot be read.
QString commandLines(const QString& command);
// A whole script of those lines; empty when the command cannot be read.
QByteArray scriptRunning(const QString& command);
// `word` as one shell word.
QString shellQuoted(QString word);

} // namespace platform::linux_
