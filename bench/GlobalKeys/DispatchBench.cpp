// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of dispatching one hot-key event when 50 named shortcuts are stored: every handler's name is
// read back from the defaults file, as dispatch never caches.
#include "GlobalKeys/CarbonGlobalKeys.h"
#include "GlobalKeys/Shortcuts.h"
#include "platform/Services.h"
#include "platform/fake/FakeHotKeyEvents.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace GlobalKeys;

namespace {

struct Setup {
    QTemporaryDir dir;
    std::shared_ptr<platform::fake::FakeHotKeyEvents> hotKeys =
        std::make_shared<platform::fake::FakeHotKeyEvents>();
    int fired = 0;

    Setup() {
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
        platform::install<platform::HotKeyEvents>(hotKeys);
        for (int i = 0; i < 50; ++i) {
            const Name name(QString("name%1").arg(i));
            // Distinct shortcuts: F-keys and letters with Control or Control-Option.
            setShortcut(Shortcut(i % 25, i < 25 ? 0x1000 : 0x1800), name);
            addKeyUpHandler(name, [this] { ++fired; });
        }
    }
};

Setup& setup() {
    static Setup s;
    return s;
}

void BM_DispatchOneHotKeyWith50Stored(benchmark::State& state) {
    auto& s = setup();
    const auto target = s.hotKeys->registrationFor(7, 0x1800);
    if (!target) {
        state.SkipWithError("hot key not registered");
        return;
    }
    s.fired = 0;
    for (auto _ : state)
        s.hotKeys->fireHotKey(7, 0x1800, platform::kEventHotKeyReleased);
    state.counters["handlersRun"] = double(s.fired) / double(state.iterations());
}
BENCHMARK(BM_DispatchOneHotKeyWith50Stored)->Unit(benchmark::kMicrosecond);

void BM_GetShortcut(benchmark::State& state) {
    setup();
    const Name name("name7");
    for (auto _ : state)
        benchmark::DoNotOptimize(getShortcut(name));
}
BENCHMARK(BM_GetShortcut)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
