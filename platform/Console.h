// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace platform {

// Writes one line to standard output (or, see below, standard error) and flushes it; safe from any
// thread.
void printLine(const QString& line);

// A command's standard output is its result, which scripts read: there the lines go to standard
// error instead.
void printLinesToStandardError();

} // namespace platform
