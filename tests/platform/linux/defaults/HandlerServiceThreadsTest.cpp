// SPDX-License-Identifier: GPL-3.0-or-later
// The handler service is one object for the whole program: the picker asks it from a pool thread
// while the GUI thread asks it too (the tooltip, the Links tab, the watcher). Built with the thread
// sanitizer, this is where a race in it shows.
#include "platform/Paths.h"
#include "platform/linux/defaults/MimeAppsHandlerService.h"
#include "support/DesktopFixture.h"

#include <QDir>
#include <QLoggingCategory>

#include <atomic>
#include <thread>

using namespace platform::linux_;
using platform::HandlerService;

namespace {

class HandlerServiceThreadsTest : public DesktopFixture {};

TEST_F(HandlerServiceThreadsTest, EachThreadReadsWhatItsOwnCallsFound) {
    browser("pages.desktop", "Pages");
    browser("links.desktop", "Links");
    MimeAppsHandlerService service(std::make_shared<DesktopEntryIndex>());
    ASSERT_EQ(service.setDefaultHandlerForURLScheme("https", "pages"), HandlerService::noErr);
    // From now on every switch fails at its lock, whose folder is a regular file; readings still work.
    ASSERT_TRUE(QDir(platform::tolvaneConfigDir()).removeRecursively());
    xdg.writeFile(platform::tolvaneConfigDir(), "not a folder\n");
    QLoggingCategory::setFilterRules("app.tolvane.Tolvane.handlers.warning=false");

    // Each thread goes on until both have made their rounds, so that the calls overlap.
    constexpr int rounds = 300;
    std::atomic<int> switches = 0, readings = 0;
    const auto bothDone = [&] { return switches >= rounds && readings >= rounds; };
    int switchesMisread = 0;
    QString switchReason;
    std::thread pool([&] {
        while (!bothDone()) {
            ++switches;
            const int status = service.setDefaultHandlerForURLScheme("https", "links");
            const QString reason = service.failureReason();
            if (status != HandlerService::writeFailed || !reason.contains("Not a directory") ||
                service.lastSwitchedId() != "links.desktop") {
                ++switchesMisread;
                switchReason = reason;
            }
        }
    });
    int readingsMisread = 0;
    QString readingReason;
    while (!bothDone()) {
        ++readings;
        const auto found = service.defaultHandlerForURLScheme("https");
        const QString reason = service.failureReason();
        if (found != "pages.desktop" || !reason.isEmpty()) {
            ++readingsMisread;
            readingReason = reason;
        }
    }
    pool.join();
    EXPECT_EQ(switchesMisread, 0) << "a failed switch reported: " << switchReason.toStdString();
    EXPECT_EQ(readingsMisread, 0) << "a reading that went well reported: " << readingReason.toStdString();
    EXPECT_EQ(service.lastSwitchedId().toStdString(), "pages.desktop") << "this thread's own last switch";
}

} // namespace
