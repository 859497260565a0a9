// SPDX-License-Identifier: GPL-3.0-or-later
// Listing and switching over the real desktop-entry adapters, with 3 and with 300 installed
// browsers. TOLVANE_BENCH_FIXTURES=<dir> keeps the generated desktops in <dir>/n3 and
// <dir>/n300, so other programs (scripts/bench.sh) can be measured on the very same files.
#include "BrowserCatalogue.h"
#include "DefaultBrowser.h"
#include "app/ui/main/Adapters.h"
#include "platform/Services.h"
#include "platform/linux/applications/DesktopBundleReader.h"
#include "platform/linux/applications/icons/DesktopWorkspace.h"

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

// Waits until just-written fixtures are as settled as installed files: a listing trusts unchanged
// stamps only once their times lie further back than a clock tick could hide.
void letSettle() {
    QThread::msleep(platform::linux_::DesktopEntryIndex::defaultSettleNs / 1000000 + 100);
}

void write(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(content);
}

// A private desktop with `count` browsers; points this process's XDG variables at it. With
// `profiles`, two of them are Chromium and Firefox with two profiles each, listed after them.
bool useDesktop(benchmark::State&, int count, bool profiles = false) {
    const QString home = fixturesRoot() + (profiles ? "/p" : "/n") + QString::number(count);
    const QString apps = home + "/.local/share/applications";
    if (!QFileInfo::exists(apps)) {
        // A program no package owns, so no package database is consulted for these.
        const QString program = home + "/bin/web-browser";
        write(program, "#!/bin/sh\n");
        QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
        for (int i = 0; i < count; ++i)
            write(apps + QString("/org.bench.Browser%1.desktop").arg(i),
                  QString("[Desktop Entry]\nType=Application\nName=Browser %1\nIcon=web-browser\n"
                          "Exec=%2 %u\nMimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;\n")
                      .arg(i)
                      .arg(program)
                      .toUtf8());
        if (profiles) {
            for (const char* name : {"chromium", "firefox"})
                write(apps +
                          QString("/org.bench.Browser%1.desktop").arg(name == QByteArray("chromium") ? 0 : 1),
                      QString("[Desktop Entry]\nType=Application\nName=Browser %1\nExec=%1 %u\n"
                              "MimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;\n")
                          .arg(name)
                          .toUtf8());
            write(
                home + "/.config/chromium/Local State",
                R"({"profile":{"info_cache":{"Default":{"name":"Person 1"},"Profile 1":{"name":"Work"}}}})");
            write(home + "/.mozilla/firefox/profiles.ini",
                  "[Profile0]\nName=default-esr\nPath=a.default-esr\n[Profile1]\nName=Work\nPath=b.Work\n");
        }
        write(home + "/.config/mimeapps.list", "# kept as written\n[Default Applications]\n"
                                               "image/png=viewer.desktop\n\n[X-Unknown]\nsome=thing\n");
        QDir().mkpath(home + "/usr/share/applications");
        QProcess::execute("update-desktop-database", {apps});
        letSettle();
    }
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + "/.config").toUtf8());
    qputenv("XDG_DATA_HOME", (home + "/.local/share").toUtf8());
    qputenv("XDG_DATA_DIRS", (home + "/usr/share").toUtf8());
    qputenv("XDG_CONFIG_DIRS", (home + "/etc/xdg").toUtf8());
    qputenv("XDG_CACHE_HOME", (home + "/.cache").toUtf8());
    qputenv("XDG_CURRENT_DESKTOP", "");
    return true;
}

void InstalledBrowsersWarm(benchmark::State& state) {
    if (!useDesktop(state, int(state.range(0))))
        return;
    if (Tolvane::installedBrowsers().size() != state.range(0))
        state.SkipWithError("the desktop does not list every browser");
    for (auto _ : state)
        benchmark::DoNotOptimize(Tolvane::installedBrowsers());
}
BENCHMARK(InstalledBrowsersWarm)->Arg(3)->Arg(300)->Unit(benchmark::kMicrosecond);

// The same with two browsers of two profiles each: four more rows, and their lists looked at.
void InstalledBrowsersWarmWithProfiles(benchmark::State& state) {
    if (!useDesktop(state, int(state.range(0)), true))
        return;
    if (Tolvane::installedBrowsers().size() != state.range(0) + 4)
        state.SkipWithError("the desktop does not list every browser and profile");
    for (auto _ : state)
        benchmark::DoNotOptimize(Tolvane::installedBrowsers());
}
BENCHMARK(InstalledBrowsersWarmWithProfiles)->Arg(300)->Unit(benchmark::kMicrosecond);

// Alternates between two profiles of one browser: each switch also writes the profile's entry
// and removes the other's.
void SetProfileAsDefaultVerified(benchmark::State& state) {
    if (!useDesktop(state, int(state.range(0)), true))
        return;
    QList<Tolvane::DefaultBrowser> profiles;
    for (const auto& browser : Tolvane::installedBrowsers())
        if (browser.appName.startsWith(QStringLiteral("Browser chromium \u2014")))
            profiles << browser;
    if (profiles.size() != 2) {
        state.SkipWithError("the profiles are not listed");
        return;
    }
    qsizetype i = 0;
    for (auto _ : state)
        profiles[i++ % 2].setAsDefault(false);
}
BENCHMARK(SetProfileAsDefaultVerified)->Arg(300)->Unit(benchmark::kMicrosecond);

// Alternates between two browsers, so every iteration really rewrites and verifies the files.
void SetAsDefaultVerified(benchmark::State& state) {
    if (!useDesktop(state, int(state.range(0))))
        return;
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

// `count` browsers installed by dpkg below a root of their own, among 700 other packages (a
// desktop system has about a thousand); returns the root. Version `generation` of the first one.
QString dpkgStatus(int count, int generation) {
    QByteArray status;
    for (int i = 0; i < count + 700; ++i) {
        const QByteArray version = i == 0 ? "1:" + QByteArray::number(120 + generation) + ".0.1-1~deb12u1"
                                          : "2." + QByteArray::number(i) + "-3";
        status += "Package: pkg" + QByteArray::number(i) +
                  "\nStatus: install ok installed\nPriority: optional\nSection: web\nInstalled-Size: 1024\n"
                  "Architecture: amd64\nVersion: " +
                  version + "\nDescription: a package\n some words\n more words\n\n";
    }
    return QString::fromUtf8(status);
}

QString useDpkgDesktop(benchmark::State&, int count) {
    const QString root = fixturesRoot() + "/dpkg" + QString::number(count);
    const QString apps = root + "/usr/share/applications";
    if (!QFileInfo::exists(apps)) {
        for (int i = 0; i < count + 700; ++i) {
            QByteArray list =
                "/.\n/usr\n/usr/share\n/usr/share/doc/pkg" + QByteArray::number(i) + "/copyright\n";
            for (int f = 0; f < 100; ++f)
                list += "/usr/lib/pkg" + QByteArray::number(i) + "/file" + QByteArray::number(f) + ".so\n";
            list += "/usr/bin/pkg" + QByteArray::number(i) + "\n";
            if (i < count) {
                const QString id = QString("org.bench.Packaged%1.desktop").arg(i);
                list += "/usr/share/applications/" + id.toUtf8() + "\n";
                write(apps + '/' + id, QString("[Desktop Entry]\nType=Application\nName=Packaged %1\n"
                                               "Exec=/usr/bin/pkg%1 %u\nMimeType=x-scheme-handler/https;\n")
                                           .arg(i)
                                           .toUtf8());
            }
            write(root + "/var/lib/dpkg/info/pkg" + QString::number(i) + ".list", list);
        }
        write(root + "/var/lib/dpkg/status", dpkgStatus(count, 0).toUtf8());
        QDir().mkpath(root + "/home/.local/share/applications");
        QProcess::execute("update-desktop-database", {apps});
        letSettle();
    }
    qputenv("HOME", (root + "/home").toUtf8());
    qputenv("XDG_DATA_HOME", (root + "/home/.local/share").toUtf8());
    qputenv("XDG_DATA_DIRS", (root + "/usr/share").toUtf8());
    qputenv("XDG_CONFIG_HOME", (root + "/home/.config").toUtf8());
    qputenv("XDG_CURRENT_DESKTOP", "");
    return root;
}

// Listing with versions from dpkg; with `upgrade`, every iteration first upgrades one package
// the way dpkg does (a new status file and a new file list, both renamed into place).
void listWithDpkg(benchmark::State& state, bool upgrade) {
    const int count = int(state.range(0));
    const QString root = useDpkgDesktop(state, count);
    if (root.isEmpty())
        return;
    auto index = std::make_shared<platform::linux_::DesktopEntryIndex>();
    platform::Override<platform::Workspace> ws(std::make_shared<platform::linux_::DesktopWorkspace>(index));
    platform::Override<platform::BundleReader> br(
        // After an upgrade: databases looked at on every listing, so each iteration pays the reload.
        std::make_shared<platform::linux_::DesktopBundleReader>(index, root + "/snap", root,
                                                                upgrade ? 0 : 1000));
    const auto first = Tolvane::installedBrowsers();
    if (first.size() != count || first.value(0).appVersion.isEmpty())
        state.SkipWithError("the packaged browsers are not all listed with versions");
    int generation = 0;
    for (auto _ : state) {
        if (upgrade) {
            state.PauseTiming();
            ++generation;
            const QString dpkg = root + "/var/lib/dpkg";
            write(dpkg + "/status-new", dpkgStatus(count, generation).toUtf8());
            QFile::remove(dpkg + "/status");
            QFile::rename(dpkg + "/status-new", dpkg + "/status");
            QFile list(dpkg + "/info/pkg0.list");
            list.open(QIODevice::ReadOnly);
            write(dpkg + "/info/pkg0.list-new", list.readAll());
            QFile::remove(dpkg + "/info/pkg0.list");
            QFile::rename(dpkg + "/info/pkg0.list-new", dpkg + "/info/pkg0.list");
            state.ResumeTiming();
        }
        auto browsers = Tolvane::installedBrowsers();
        if (upgrade && !browsers.value(0).appVersion.startsWith(QString::number(120 + generation)))
            state.SkipWithError("the upgrade was not noticed");
        benchmark::DoNotOptimize(browsers);
    }
}

void InstalledBrowsersDpkgWarm(benchmark::State& state) {
    listWithDpkg(state, false);
}
BENCHMARK(InstalledBrowsersDpkgWarm)->Arg(300)->Unit(benchmark::kMicrosecond);

void InstalledBrowsersDpkgAfterUpgrade(benchmark::State& state) {
    listWithDpkg(state, true);
}
BENCHMARK(InstalledBrowsersDpkgAfterUpgrade)->Arg(300)->Unit(benchmark::kMicrosecond);

void IndexOnly(benchmark::State& state) {
    if (!useDesktop(state, int(state.range(0))))
        return;
    platform::linux_::DesktopEntryIndex index;
    for (auto _ : state)
        benchmark::DoNotOptimize(index.entries());
}
BENCHMARK(IndexOnly)->Arg(300)->Unit(benchmark::kMicrosecond);

// A first listing where the applications folder holds `k` links back to itself (a walk that follows
// them blindly does k^8 folders: minutes at 5, out of memory at 6).
void IndexColdWithSymlinkLoops(benchmark::State& state) {
    if (!useDesktop(state, 3))
        return;
    const QString apps = qEnvironmentVariable("XDG_DATA_HOME") + "/applications";
    for (int i = 0; i < state.range(0); ++i)
        QFile::link(".", apps + QString("/loop%1").arg(i));
    for (auto _ : state) {
        platform::linux_::DesktopEntryIndex index;
        if (index.entries().size() != 3)
            state.SkipWithError("a loop listed an entry twice");
    }
    for (int i = 0; i < state.range(0); ++i)
        QFile::remove(apps + QString("/loop%1").arg(i));
}
BENCHMARK(IndexColdWithSymlinkLoops)->Arg(5)->Arg(6)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Tolvane::adapters::installDesktopAdapters();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
