#pragma once

#include <QString>

namespace platform {

// Writes one line to standard output and flushes it; safe from any thread.
void printLine(const QString& line);

} // namespace platform
