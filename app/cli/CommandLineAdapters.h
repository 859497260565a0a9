#pragma once

namespace Tolvane::cli {

// Installs the adapters a command-line request runs on: desktop entries, the default handler,
// settings and the program's facts; nothing that draws, watches files or talks to a bus.
// Without `versions` no package database is read: a switch or a lookup by id needs none.
void installCommandLineAdapters(bool versions);

} // namespace Tolvane::cli
