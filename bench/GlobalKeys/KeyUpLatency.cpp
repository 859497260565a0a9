// SPDX-License-Identifier: GPL-3.0-or-later
// Time from a key release sent by xdotool to the key-up callback of a global shortcut, on a private
// Xvfb. One long-lived `xdotool -` reads commands from a pipe, so process start-up is not measured:
// the interval runs from writing "keyup z" to the callback. Prints p50/p99 over the taps.
#include "GlobalKeys/Shortcuts.h"
#include "app/ui/main/Adapters.h"
#include "support/XServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace GlobalKeys;

namespace {

bool waitFor(const std::function<bool()>& done, int timeoutMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const int taps = argc > 1 ? std::max(1, atoi(argv[1])) : 100;
    XServer server;
    if (!server.isRunning()) {
        std::fprintf(stderr, "cannot start Xvfb: %s\n", qPrintable(server.error()));
        return 1;
    }
    server.exportToEnvironment();
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    Tolvane::adapters::installGlobalKeysAdapters();

    const Name name("toggleSystemBrowserKeys");
    QElapsedTimer clock;
    clock.start();
    qint64 upAt = -1;
    int downs = 0;
    addKeyDownHandler(name, [&] { ++downs; });
    addKeyUpHandler(name, [&] { upAt = clock.nsecsElapsed(); });
    setShortcut(Shortcut(Key::z, Qt::ControlModifier | Qt::AltModifier), name);

    QProcess xdotool;
    xdotool.start("xdotool", {"-"});
    if (!xdotool.waitForStarted(5000)) {
        std::fprintf(stderr, "cannot run xdotool\n");
        return 1;
    }
    std::vector<double> micros;
    for (int i = 0; i < taps; ++i) {
        const int before = downs;
        xdotool.write("keydown --delay 0 ctrl+alt+z\n");
        xdotool.waitForBytesWritten();
        if (!waitFor([&] { return downs > before; })) {
            std::fprintf(stderr, "tap %d: no key-down\n", i);
            return 1;
        }
        upAt = -1;
        const qint64 sentAt = clock.nsecsElapsed();
        xdotool.write("keyup --delay 0 z\n");
        xdotool.waitForBytesWritten();
        if (!waitFor([&] { return upAt >= 0; })) {
            std::fprintf(stderr, "tap %d: no key-up\n", i);
            return 1;
        }
        micros.push_back(double(upAt - sentAt) / 1000.0);
        xdotool.write("keyup --delay 0 ctrl+alt\n");
        xdotool.waitForBytesWritten();
    }
    xdotool.closeWriteChannel();
    xdotool.waitForFinished(5000);

    std::sort(micros.begin(), micros.end());
    const auto at = [&](double q) { return micros[std::min(micros.size() - 1, size_t(q * micros.size()))]; };
    std::printf(
        "key release -> key-up callback over %d taps: p50 %.0f us, p99 %.0f us, min %.0f us, max %.0f us\n",
        taps, at(0.50), at(0.99), micros.front(), micros.back());
    return 0;
}
