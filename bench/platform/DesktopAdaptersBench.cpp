// Listing and switching over the real desktop-entry adapters, with 3 and with 300 installed
// browsers. TOLVANE_BENCH_FIXTURES=<dir> keeps the generated desktops in <dir>/n3 and
// <dir>/n300, so other programs (scripts/bench.sh) can be measured on the very same files.
#include "BrowserCatalogue.h"
#include "DefaultBrowser.h"
#include "platform/GioDirs.h"
#include "platform/linux/DesktopWorkspace.h"
#include "platform/linux/LinuxAdapters.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

namespace {

QString fixturesRoot() {
    static QTemporaryDir temp;
    const QString kept = qEnvironmentVariable("TOLVANE_BENCH_FIXTURES");
    return kept.isEmpty() ? temp.path() : kept;
}

void write(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(content);
}

// A private desktop with `count` browsers; points this process's XDG variables (and GIO) at it.
void useDesktop(int count) {
    const QString home = fixturesRoot() + "/n" + QString::number(count);
    const QString apps = home + "/.local/share/applications";
    if (!QFileInfo::exists(apps)) {
        for (int i = 0; i < count; ++i)
            write(apps + QString("/org.bench.Browser%1.desktop").arg(i),
                  QString(
                      "[Desktop Entry]\nType=Application\nName=Browser %1\nIcon=web-browser\n"
                      "Exec=/bin/true %u\nMimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;\n")
                      .arg(i)
                      .toUtf8());
        write(home + "/.config/mimeapps.list", "# kept as written\n[Default Applications]\n"
                                               "image/png=viewer.desktop\n\n[X-Unknown]\nsome=thing\n");
        QDir().mkpath(home + "/usr/share/applications");
        QProcess::execute("update-desktop-database", {apps});
        // Listing keeps GIO's answer only once its inputs are a few seconds old: wait for that,
        // so the warm figures are the steady state a running tray sees.
        QThread::sleep(3);
    }
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + "/.config").toUtf8());
    qputenv("XDG_DATA_HOME", (home + "/.local/share").toUtf8());
    qputenv("XDG_DATA_DIRS", (home + "/usr/share").toUtf8());
    qputenv("XDG_CONFIG_DIRS", (home + "/etc/xdg").toUtf8());
    qputenv("XDG_CACHE_HOME", (home + "/.cache").toUtf8());
    qputenv("XDG_CURRENT_DESKTOP", "");
    syncGioWithEnvironment();
}

void InstalledBrowsersWarm(benchmark::State& state) {
    useDesktop(int(state.range(0)));
    if (Tolvane::installedBrowsers().size() != state.range(0))
        state.SkipWithError("the desktop does not list every browser");
    for (auto _ : state)
        benchmark::DoNotOptimize(Tolvane::installedBrowsers());
}
BENCHMARK(InstalledBrowsersWarm)->Arg(3)->Arg(300)->Unit(benchmark::kMicrosecond);

// Alternates between two browsers, so every iteration really rewrites and verifies the files.
void SetAsDefaultVerified(benchmark::State& state) {
    useDesktop(int(state.range(0)));
    const auto browsers = Tolvane::installedBrowsers();
    if (browsers.size() < 2) {
        state.SkipWithError("fewer than two browsers");
        return;
    }
    qsizetype i = 0;
    for (auto _ : state)
        browsers[i++ % 2].setAsDefault(false);
}
BENCHMARK(SetAsDefaultVerified)->Arg(3)->Arg(300)->Unit(benchmark::kMicrosecond);

void GioOrderOnly(benchmark::State& state) {
    useDesktop(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::linux_::gioDesktopIdsForType("x-scheme-handler/https"));
}
BENCHMARK(GioOrderOnly)->Arg(300)->Unit(benchmark::kMicrosecond);

void IndexOnly(benchmark::State& state) {
    useDesktop(int(state.range(0)));
    platform::linux_::DesktopEntryIndex index;
    for (auto _ : state)
        benchmark::DoNotOptimize(index.entries());
}
BENCHMARK(IndexOnly)->Arg(300)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    platform::linux_::installLinuxAdapters();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
