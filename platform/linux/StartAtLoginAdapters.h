#pragma once

namespace platform::linux_ {

// Installs the login-item service (an XDG autostart entry for the running binary).
// Call once at start-up, before anything asks whether this launch came from a login.
void installStartAtLoginAdapters();

} // namespace platform::linux_
