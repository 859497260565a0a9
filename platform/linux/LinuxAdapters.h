#pragma once

namespace platform::linux_ {

// Installs the real Linux adapter of every port; called once at start-up.
void installLinuxAdapters();

} // namespace platform::linux_
