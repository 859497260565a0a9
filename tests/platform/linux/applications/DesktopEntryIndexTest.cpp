// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/applications/DesktopEntryIndex.h"
#include "platform/linux/applications/DesktopBundleReader.h"
#include "platform/linux/applications/icons/DesktopWorkspace.h"
#include "platform/linux/defaults/MimeAppsHandlerService.h"
#include "support/DesktopFixture.h"

#include <QDir>
#include <QFile>

#include <sys/resource.h>
#include <unistd.h>

using namespace platform::linux_;

namespace {

QStringList ids(const QList<InstalledEntry>& entries) {
    QStringList out;
    for (const auto& e : entries)
        out << e.id;
    return out;
}

class DesktopEntryIndexTest : public DesktopFixture {};

} // namespace

TEST_F(DesktopEntryIndexTest, FindsEntriesTheWayTheDesktopEntryRulesSay) {
    const QString system = xdg.systemData() + "/applications";
    browser("vendor/sub/web.desktop", "Nested"); // ID vendor-sub-web.desktop
    browser("shadowed.desktop", "User copy");    // wins over the system copy
    browser("shadowed.desktop", "System copy", {}, system);
    entry("masked.desktop", "Hidden=true\n"); // hides the system one of that ID
    browser("masked.desktop", "Masked", {}, system);
    browser("system-only.desktop", "System only", {}, system);
    browser("missing-tryexec.desktop", "Gone", "x-scheme-handler/https;\nTryExec=/nonexistent/bin/browser");
    browser("present-tryexec.desktop", "Here", "x-scheme-handler/https;\nTryExec=sh");
    entry("link.desktop", "Name=Link\nURL=https://example.org\nType=Link\n");
    xdg.writeFile(xdg.applicationsDir() + "/notes.txt", "not an entry");

    DesktopEntryIndex index;
    const auto found = index.entries();
    EXPECT_EQ(ids(found), (QStringList{"present-tryexec.desktop", "shadowed.desktop",
                                       "vendor-sub-web.desktop", "system-only.desktop"}));
    for (const auto& e : found) {
        if (e.id == "shadowed.desktop") {
            EXPECT_EQ(e.entry->name(), "User copy");
        }
    }
}

TEST_F(DesktopEntryIndexTest, HostileEntriesAreShownSafelyAndNeverRun) {
    const QString marker = xdg.home() + "/was-run";
    const QByteArray run = "Exec=sh -c 'touch " + marker.toUtf8() + "' %u\nTryExec=sh\n";
    entry("bad-utf8.desktop",
          "Name=Caf\xc3\x28 \xff\xfe Browser\n" + run + "MimeType=x-scheme-handler/https;\n");
    entry("huge-name.desktop",
          "Name=" + QByteArray(1000 * 1000, 'A') + "\n" + run + "MimeType=x-scheme-handler/https;\n");
    entry("no-name.desktop", run + "MimeType=x-scheme-handler/https;\n");
    entry("no-exec.desktop", "Name=No Exec\nMimeType=x-scheme-handler/https;\n");
    entry("no-mime.desktop", "Name=No Types\n" + run);
    entry("escapes.desktop",
          "Name=Line\\nBreak\\tand\\\\slash\n" + run + "MimeType=x-scheme-handler/https;\n");
    xdg.writeFile(xdg.applicationsDir() + "/binary.desktop",
                  QByteArray("\0\x01\x02[Desktop Entry\n\xff", 20));
    xdg.writeFile(xdg.applicationsDir() + "/too-big.desktop",
                  "[Desktop Entry]\nType=Application\nExec=x\nName=" + QByteArray(2 * 1024 * 1024, 'B') +
                      "\nMimeType=x-scheme-handler/https;\n");

    auto index = std::make_shared<DesktopEntryIndex>();
    DesktopWorkspace workspace(index);
    DesktopBundleReader bundles(index);
    QHash<QString, QVariant> names;
    for (const QUrl& url : workspace.urlsForApplicationsToOpenURL(QUrl("https:"))) {
        const auto bundle = bundles.bundleAt(url);
        ASSERT_TRUE(bundle);
        names.insert(*bundle->bundleIdentifier, bundle->info.value("CFBundleName"));
        QIcon(workspace.iconForFile(url.toLocalFile())).pixmap(16); // icons resolve without running anything
    }
    EXPECT_EQ(QSet<QString>(names.keyBegin(), names.keyEnd()),
              (QSet<QString>{"bad-utf8", "huge-name", "no-name", "escapes"}));
    EXPECT_TRUE(names["bad-utf8"].toString().contains(QChar::ReplacementCharacter));
    EXPECT_TRUE(names["bad-utf8"].toString().endsWith(" Browser"));
    EXPECT_LE(names["huge-name"].toString().size(), DesktopEntry::maxNameLength);
    EXPECT_FALSE(names["no-name"].isValid()); // the catalogue shows "-" for it
    EXPECT_EQ(names["escapes"].toString(), "Line Break and\\slash");

    MimeAppsHandlerService handlers(index);
    EXPECT_EQ(handlers.setDefaultHandlerForURLScheme("http", "huge-name"), 0);
    EXPECT_FALSE(QFile::exists(marker));
}

TEST_F(DesktopEntryIndexTest, OnlyWhatTheSessionLooksUpIsListedAndSwitchable) {
    // A Flatpak installed after the session started: its exports exist, XDG_DATA_DIRS lacks them,
    // so GIO and xdg-utils cannot use its browser and neither may we.
    const QString flatpak = xdg.home() + "/.local/share/flatpak/exports/share";
    const QByteArray https = "x-scheme-handler/http;x-scheme-handler/https;";
    browser("org.example.Flat.desktop", "Flat", https, flatpak + "/applications");
    browser("sys.desktop", "Sys", https, xdg.systemData() + "/applications");

    auto index = std::make_shared<DesktopEntryIndex>();
    DesktopWorkspace workspace(index);
    MimeAppsHandlerService handlers(index);
    EXPECT_EQ(index->dataDirs(), (QStringList{xdg.dataHome(), xdg.systemData()}));
    EXPECT_EQ(ids(index->entries()), QStringList{"sys.desktop"});
    EXPECT_EQ(workspace.urlsForApplicationsToOpenURL(QUrl("https:")).size(), 1);
    EXPECT_NE(handlers.setDefaultHandlerForURLScheme("http", "org.example.flat"), 0);
    EXPECT_FALSE(QFile::exists(xdg.configHome() + "/mimeapps.list"));

    // Once the session knows the folder, the browser is there like any other.
    qputenv("XDG_DATA_DIRS", (xdg.systemData() + ':' + flatpak).toUtf8());
    EXPECT_EQ(ids(index->entries()), (QStringList{"sys.desktop", "org.example.Flat.desktop"}));
    EXPECT_EQ(handlers.setDefaultHandlerForURLScheme("http", "org.example.flat"), 0);
    EXPECT_EQ(xdgMimeDefault("x-scheme-handler/https"), "org.example.Flat.desktop");
}

TEST_F(DesktopEntryIndexTest, AnEditedEntryIsReadAgain) {
    browser("edit.desktop", "Before");
    DesktopEntryIndex index;
    ASSERT_EQ(index.entries().size(), 1);
    EXPECT_EQ(index.entries()[0].entry->name(), "Before");
    browser("edit.desktop", "After, a longer name");
    EXPECT_EQ(index.entries()[0].entry->name(), "After, a longer name");
    entry("edit.desktop", "Name=Now hidden\nExec=x\nHidden=true\n");
    EXPECT_TRUE(index.entries().isEmpty());
}

TEST_F(DesktopEntryIndexTest, SymlinkLoopsCostOneVisitPerFolder) {
    // Links that lead back up the tree, as dotfile managers and copied prefixes leave them. Five
    // of them made the old walk take minutes and six ran the machine out of memory, so it runs in a
    // child with bounded time and memory.
    const QString apps = xdg.applicationsDir();
    browser("web.desktop", "Web");
    browser("vendor/tool.desktop", "Tool");
    QDir().mkpath(apps + "/aaa");
    ASSERT_TRUE(QFile::link("../vendor", apps + "/aaa/vendor-again"));
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(QFile::link(".", apps + QString("/loop%1").arg(i)));
    ASSERT_TRUE(QFile::link("..", apps + "/vendor/up"));

    const auto listInBounds = [] {
        // 2 GB more than the process maps already (a sanitizer build reserves terabytes up front).
        unsigned long long pages = 0;
        if (FILE* statm = fopen("/proc/self/statm", "r")) {
            if (fscanf(statm, "%llu", &pages) != 1)
                pages = 0;
            fclose(statm);
        }
        const rlim_t bound = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(2) << 30);
        const rlimit memory{bound, bound};
        setrlimit(RLIMIT_AS, &memory);
        alarm(20);
        DesktopEntryIndex index;
        const QStringList found = ids(index.entries());
        // Each file once, by the ID of its shortest path.
        if (found != QStringList{"web.desktop", "vendor-tool.desktop"}) {
            fprintf(stderr, "listed %lld: %s\n", qlonglong(found.size()),
                    qPrintable(found.mid(0, 8).join(' ')));
            std::_Exit(1);
        }
        std::_Exit(0);
    };
    EXPECT_EXIT(listInBounds(), ::testing::ExitedWithCode(0), "");
}
