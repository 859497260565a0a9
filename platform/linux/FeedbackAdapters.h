#pragma once

namespace platform::linux_ {

// Installs the system facts and motion preference the feedback libraries read; called once at start-up.
void installFeedbackAdapters();

} // namespace platform::linux_
