// SPDX-License-Identifier: GPL-3.0-or-later
// Time from the desktop's "key released" (a Deactivated signal of the GlobalShortcuts portal) until
// mimeapps.list has changed on disk, through Debian's real xdg-desktop-portal frontend, the test
// back end, the real adapters and Tolvane's reactor. The interval runs from asking the back end to
// release the key to the file's new modification time. Prints p50/p99 over the presses.
#include "GlobalKeys/Shortcuts.h"
#include "SettingsStore.h"
#include "TolvaShortcutReactor.h"
#include "app/ui/main/Adapters.h"
#include "platform/linux/hotkeys/portal/PortalDesktop.h"
#include "support/PrivateBus.h"
#include "support/TempXdg.h"

#include <QApplication>
#include <QSettings>

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

std::int64_t modifiedNs(const QByteArray& path) {
    struct stat info {};
    return ::stat(path.constData(), &info) == 0
               ? std::int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec
               : 0;
}

} // namespace

int main(int argc, char** argv) {
    const int presses = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XKB_DEFAULT_LAYOUT", "us");
    TempXdg xdg;
    QStringList ids;
    for (int i = 0; i < 2; ++i) {
        const QString path =
            xdg.writeBrowserEntry(QStringLiteral("browser%1").arg(i), QStringLiteral("Browser %1").arg(i));
        ids << QStringLiteral("browser%1::file://%2").arg(i).arg(path);
    }
    PrivateBus bus;
    QApplication app(argc, argv);
    PortalDesktop desktop;
    if (!bus.running() || !desktop.startBackend() || !desktop.startFrontend()) {
        std::fprintf(stderr, "cannot start the private bus, the portal back end or xdg-desktop-portal\n");
        return 1;
    }
    Tolvane::adapters::installDesktopAdapters();
    Tolvane::adapters::installGlobalKeysAdapters();
    QSettings(GlobalKeys::userDefaultsPath(), QSettings::IniFormat)
        .setValue(GlobalKeys::userDefaultsKey(Tolvane::TolvaShortcutReactor::toggleSystemBrowserKeys()),
                  QStringLiteral("{\"carbonKeyCode\":11,\"carbonModifiers\":6144}"));
    Tolvane::SettingsStore::setBool(Tolvane::SettingsStore::toggleBrowser, true);
    using Clock = std::chrono::steady_clock;
    Clock::time_point sentAt, keyUpAt;
    // Registered before the reactor's, so it runs first: the portal's share of the interval.
    GlobalKeys::addKeyUpHandler(Tolvane::TolvaShortcutReactor::toggleSystemBrowserKeys(),
                                [&] { keyUpAt = Clock::now(); });
    Tolvane::TolvaShortcutReactor reactor;

    // The file is watched from another thread, as another program would see it: it has changed once
    // the new content is renamed into place, whatever the switch still verifies after that.
    const QByteArray mimeapps = (xdg.configHome() + "/mimeapps.list").toUtf8();
    std::atomic<std::int64_t> before{-1};
    std::atomic<std::int64_t> changedNs{-1};
    std::atomic<bool> done{false};
    std::thread watcher([&] {
        while (!done) {
            const std::int64_t armed = before;
            if (armed >= 0 && changedNs < 0 && modifiedNs(mimeapps) != armed)
                changedNs =
                    std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - sentAt).count();
            std::this_thread::sleep_for(std::chrono::microseconds(50));
        }
    });
    if (!waitFor([&] { return !desktop.binds().isEmpty(); })) {
        std::fprintf(stderr, "the shortcut was never bound\n");
        return 1;
    }

    std::vector<double> micros, keyUpMicros;
    for (int n = 0; n < presses; ++n) {
        // Alternating browsers: every press changes the file.
        Tolvane::SettingsStore::setString(Tolvane::SettingsStore::toggleBrowserId, ids[n % 2]);
        desktop.control().call("Press", "toggleSystemBrowserKeys");
        changedNs = -1;
        sentAt = Clock::now();
        before = modifiedNs(mimeapps);
        desktop.control().asyncCall("Release", "toggleSystemBrowserKeys");
        if (!waitFor([&] { return changedNs >= 0; }, 5000)) {
            std::fprintf(stderr, "press %d: mimeapps.list did not change\n", n);
            done = true;
            watcher.join();
            return 1;
        }
        before = -1;
        micros.push_back(double(changedNs) / 1000.0);
        keyUpMicros.push_back(
            double(std::chrono::duration_cast<std::chrono::nanoseconds>(keyUpAt - sentAt).count()) / 1000.0);
    }
    done = true;
    watcher.join();
    const auto at = [](std::vector<double> values, double q) {
        std::sort(values.begin(), values.end());
        return values[std::min(values.size() - 1, size_t(q * values.size()))] / 1000.0;
    };
    std::printf("portal Deactivated -> key-up callback over %d presses: p50 %.2f ms, p99 %.2f ms\n", presses,
                at(keyUpMicros, 0.50), at(keyUpMicros, 0.99));
    std::printf("portal Deactivated -> mimeapps.list changed over %d presses: p50 %.2f ms, p99 %.2f ms "
                "(goal p50 <= 5 ms)\n",
                presses, at(micros, 0.50), at(micros, 0.99));
    return 0;
}
