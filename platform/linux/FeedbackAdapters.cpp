#include "FeedbackAdapters.h"

#include "GnomeMotionPreference.h"
#include "LinuxSystemInfo.h"
#include "platform/Services.h"

namespace platform::linux_ {

void installFeedbackAdapters() {
    install<SystemInfo>(std::make_shared<LinuxSystemInfo>());
    install<MotionPreference>(std::make_shared<GnomeMotionPreference>());
}

} // namespace platform::linux_
