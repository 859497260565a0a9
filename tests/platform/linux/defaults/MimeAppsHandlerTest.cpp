// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserCatalogue.h"
#include "LaunchServices.h"
#include "platform/Paths.h"
#include "platform/Services.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/linux/applications/DesktopBundleReader.h"
#include "platform/linux/applications/icons/DesktopWorkspace.h"
#include "platform/linux/defaults/MimeAppsHandlerService.h"
#include "platform/linux/defaults/MimeAppsWatcher.h"
#include "support/DesktopFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSignalSpy>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace platform::linux_;
using platform::HandlerService;

namespace {

class MimeAppsHandlerTest : public DesktopFixture {
protected:
    void SetUp() override {
        DesktopFixture::SetUp();
        pages = browser("Org.Example.Pages.desktop", "Pages",
                        "text/html;application/xhtml+xml;x-scheme-handler/http;x-scheme-handler/https;");
        links = browser("links.desktop", "Links");
    }
    QString listPath() const { return xdg.configHome() + "/mimeapps.list"; }
    int setDefault(const QString& id) { return service->setDefaultHandlerForURLScheme("http", id); }

    std::shared_ptr<DesktopEntryIndex> index = std::make_shared<DesktopEntryIndex>();
    std::shared_ptr<MimeAppsHandlerService> service = std::make_shared<MimeAppsHandlerService>(index);
    QString pages, links;
};

// Fails the n-th file replacement of a switch, as a full disk or a read-only mount would.
class FailingService : public MimeAppsHandlerService {
public:
    using MimeAppsHandlerService::MimeAppsHandlerService;
    int failAt = 0;
    int writes = 0;
    QByteArray overwriteWith; // another program's content, written instead of ours

protected:
    bool replaceFile(const QString& path, const QByteArray& content, QString* error) override {
        if (++writes == failAt) {
            *error = "injected";
            return false;
        }
        return MimeAppsHandlerService::replaceFile(path, overwriteWith.isEmpty() ? content : overwriteWith,
                                                   error);
    }
};

} // namespace

TEST_F(MimeAppsHandlerTest, OtherReadersSeeTheNewDefault) {
    ASSERT_EQ(setDefault("org.example.pages"), HandlerService::noErr);
    for (const QString type : {"x-scheme-handler/http", "x-scheme-handler/https", "text/html"}) {
        EXPECT_EQ(xdgMimeDefault(type), "Org.Example.Pages.desktop") << qPrintable(type);
        EXPECT_EQ(gioDefault(type), "Org.Example.Pages.desktop") << qPrintable(type);
    }
    // Links declares no page types, so the page types stay with Pages.
    ASSERT_EQ(setDefault("links"), HandlerService::noErr);
    EXPECT_EQ(xdgMimeDefault("x-scheme-handler/https"), "links.desktop");
    EXPECT_EQ(gioDefault("x-scheme-handler/http"), "links.desktop");
    EXPECT_EQ(gioDefault("text/html"), "Org.Example.Pages.desktop");
    EXPECT_EQ(xdg.readFile(listPath()), "[Default Applications]\n"
                                        "x-scheme-handler/http=links.desktop;Org.Example.Pages.desktop;\n"
                                        "x-scheme-handler/https=links.desktop;Org.Example.Pages.desktop;\n"
                                        "text/html=Org.Example.Pages.desktop;\n"
                                        "application/xhtml+xml=Org.Example.Pages.desktop;\n"
                                        "\n"
                                        "[Added Associations]\n"
                                        "x-scheme-handler/http=links.desktop;Org.Example.Pages.desktop;\n"
                                        "x-scheme-handler/https=links.desktop;Org.Example.Pages.desktop;\n"
                                        "text/html=Org.Example.Pages.desktop;\n"
                                        "application/xhtml+xml=Org.Example.Pages.desktop;\n");
}

TEST_F(MimeAppsHandlerTest, TheChosenEntryIsWrittenWhenIdsDifferOnlyInCase) {
    // Identifiers are lower case, desktop-file IDs are not: the entry that was picked is the one written.
    browser("Mixed.desktop", "Upper");
    browser("mixed.desktop", "Lower");
    platform::Override<platform::FileSystem> fs(std::make_shared<platform::fake::FakeFileSystem>());
    platform::Override<platform::Workspace> ws(std::make_shared<DesktopWorkspace>(index));
    platform::Override<platform::BundleReader> br(std::make_shared<DesktopBundleReader>(index));
    platform::Override<platform::HandlerService> hs(service);
    QHash<QString, Tolvane::DefaultBrowser> byName;
    for (const auto& b : Tolvane::installedBrowsers())
        byName.insert(b.appName, b);
    ASSERT_EQ(byName["Upper"].bundleId, "mixed");
    for (const auto& [name, id] :
         {std::pair{"Upper", "Mixed.desktop"}, {"Lower", "mixed.desktop"}, {"Upper", "Mixed.desktop"}}) {
        byName[name].setAsDefault(false);
        EXPECT_EQ(xdgMimeDefault("x-scheme-handler/https"), QString(id)) << name;
        EXPECT_EQ(gioDefault("x-scheme-handler/http"), QString(id)) << name;
    }
    // Given only an identifier, the ID spelled exactly so wins; a capitalised one alone is still found.
    ASSERT_EQ(setDefault("links"), HandlerService::noErr);
    browser("Links.desktop", "Links (capitals)");
    ASSERT_EQ(setDefault("links"), HandlerService::noErr);
    EXPECT_EQ(xdgMimeDefault("x-scheme-handler/https"), "links.desktop");
    QFile::remove(links);
    ASSERT_EQ(setDefault("links"), HandlerService::noErr);
    EXPECT_EQ(xdgMimeDefault("x-scheme-handler/https"), "Links.desktop");
}

TEST_F(MimeAppsHandlerTest, KeepsEveryUnrelatedByte) {
    xdg.writeFile(listPath(), "# my associations, hands off\n"
                              "[Default Applications]\r\n"
                              "image/png = viewer.desktop\r\n"
                              "x-scheme-handler/http=old.desktop;links.desktop;\n"
                              "odd key with spaces = still a key to GLib\n"
                              "\n"
                              "[X-Custom Group]\n"
                              "x-scheme-handler/http=not-ours.desktop\n"
                              "[Removed Associations]\n"
                              "x-scheme-handler/https=links.desktop;gone.desktop;\n"
                              "[Added Associations]\n"
                              "# trailing comment, no newline at the end");
    ASSERT_EQ(setDefault("links"), HandlerService::noErr);
    EXPECT_EQ(xdg.readFile(listPath()), "# my associations, hands off\n"
                                        "[Default Applications]\r\n"
                                        "image/png = viewer.desktop\r\n"
                                        "x-scheme-handler/http=links.desktop;old.desktop;\n"
                                        "odd key with spaces = still a key to GLib\n"
                                        "x-scheme-handler/https=links.desktop;\n"
                                        "\n"
                                        "[X-Custom Group]\n"
                                        "x-scheme-handler/http=not-ours.desktop\n"
                                        "[Removed Associations]\n"
                                        "x-scheme-handler/https=gone.desktop;\n"
                                        "[Added Associations]\n"
                                        "# trailing comment, no newline at the end\n"
                                        "x-scheme-handler/http=links.desktop;\n"
                                        "x-scheme-handler/https=links.desktop;\n");
    EXPECT_EQ(xdgMimeDefault("x-scheme-handler/https"), "links.desktop");
    EXPECT_EQ(gioDefault("x-scheme-handler/https"), "links.desktop");
}

TEST_F(MimeAppsHandlerTest, FollowsASymlinkedListAndKeepsItsMode) {
    const QString real = xdg.home() + "/dotfiles/mimeapps.list";
    xdg.writeFile(real, "# from my dotfiles\n");
    ASSERT_EQ(chmod(QFile::encodeName(real).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link("../dotfiles/mimeapps.list", listPath()));

    ASSERT_EQ(setDefault("links"), HandlerService::noErr);
    EXPECT_TRUE(QFileInfo(listPath()).isSymLink());
    EXPECT_TRUE(xdg.readFile(real).startsWith("# from my dotfiles\n\n[Default Applications]\n"));
    struct stat st;
    ASSERT_EQ(stat(QFile::encodeName(real).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(xdgMimeDefault("x-scheme-handler/http"), "links.desktop");
}

TEST_F(MimeAppsHandlerTest, FailuresChangeNothing) {
    const QByteArray before = "[Default Applications]\nx-scheme-handler/http=links.desktop;\n";
    xdg.writeFile(listPath(), before);
    EXPECT_EQ(setDefault("no.such.browser"), HandlerService::applicationNotFound);
    EXPECT_EQ(setDefault(""), HandlerService::applicationNotFound);
    EXPECT_EQ(xdg.readFile(listPath()), before);

    // The second file of the switch cannot be written: the first is put back.
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");
    const QByteArray gnome = "[Default Applications]\nx-scheme-handler/https=links.desktop;\n";
    xdg.writeFile(xdg.configHome() + "/gnome-mimeapps.list", gnome);
    auto failing = std::make_shared<FailingService>(index);
    failing->failAt = 2;
    EXPECT_EQ(failing->setDefaultHandlerForURLScheme("http", "org.example.pages"),
              HandlerService::writeFailed);
    EXPECT_EQ(xdg.readFile(listPath()), before);
    EXPECT_EQ(xdg.readFile(xdg.configHome() + "/gnome-mimeapps.list"), gnome);
    EXPECT_EQ(QDir(xdg.configHome()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"gnome-mimeapps.list", "mimeapps.list"})); // no temporary files left
}

TEST_F(MimeAppsHandlerTest, AReadBackThatDisagreesIsAFailureAndIsUndone) {
    const QByteArray before = "[Default Applications]\nx-scheme-handler/http=links.desktop;\n";
    xdg.writeFile(listPath(), before);
    auto racing = std::make_shared<FailingService>(index);
    racing->overwriteWith =
        "[Default Applications]\nx-scheme-handler/http=links.desktop;\n# edited meanwhile\n";
    EXPECT_EQ(racing->setDefaultHandlerForURLScheme("http", "org.example.pages"),
              HandlerService::verifyFailed);
    EXPECT_EQ(xdg.readFile(listPath()), before);
}

TEST_F(MimeAppsHandlerTest, AConfigFolderThatCannotBeWrittenIsAFailure) {
    // Root ignores permission bits, so the folder lies below a regular file instead.
    const QString blocker = xdg.writeFile(xdg.home() + "/blocker", "a file, not a folder");
    qputenv("XDG_CONFIG_HOME", (blocker + "/config").toUtf8());
    EXPECT_EQ(setDefault("links"), HandlerService::writeFailed);
    EXPECT_EQ(xdg.readFile(blocker), "a file, not a folder");
}

TEST_F(MimeAppsHandlerTest, DesktopSpecificListsAndDesktopSettingsFollow) {
    qputenv("XDG_CURRENT_DESKTOP", "KDE:GNOME");
    const QString gnome = xdg.writeFile(xdg.configHome() + "/gnome-mimeapps.list",
                                        "[Default Applications]\nx-scheme-handler/http=links.desktop\n"
                                        "image/png=viewer.desktop\n");
    const QString kde = xdg.writeFile(xdg.configHome() + "/kdeglobals",
                                      "[General]\nBrowserApplication=links.desktop\nColorScheme=Breeze\n");
    ASSERT_EQ(setDefault("org.example.pages"), HandlerService::noErr);
    // Only the keys the desktop-specific list already overrides are changed there.
    EXPECT_EQ(xdg.readFile(gnome), "[Default Applications]\n"
                                   "x-scheme-handler/http=Org.Example.Pages.desktop;links.desktop;\n"
                                   "image/png=viewer.desktop\n");
    EXPECT_EQ(xdg.readFile(kde),
              "[General]\nBrowserApplication=Org.Example.Pages.desktop\nColorScheme=Breeze\n");
    EXPECT_FALSE(QFile::exists(xdg.configHome() + "/kde-mimeapps.list"));

    qputenv("XDG_CURRENT_DESKTOP", "GNOME");
    EXPECT_EQ(gioDefault("x-scheme-handler/http"), "Org.Example.Pages.desktop");

    // Without the key, kdeglobals is left alone.
    xdg.writeFile(kde, "[General]\nColorScheme=Breeze\n");
    ASSERT_EQ(setDefault("links"), HandlerService::noErr);
    EXPECT_EQ(xdg.readFile(kde), "[General]\nColorScheme=Breeze\n");

    // KDE writes flags after a key ([$e] expands the value, [$i] locks it); the key is the same one.
    xdg.writeFile(kde, "[General]\nBrowserApplication[$e]=!links\nColorScheme=Breeze\n"
                       "[Other]\nBrowserApplication[$i]=keep\n");
    ASSERT_EQ(setDefault("org.example.pages"), HandlerService::noErr);
    EXPECT_EQ(xdg.readFile(kde), "[General]\nBrowserApplication[$e]=Org.Example.Pages.desktop\n"
                                 "ColorScheme=Breeze\n[Other]\nBrowserApplication[$i]=keep\n");

    // Set only system-wide, the user's file takes the new value; locked there ([$i]), KDE keeps the
    // system's value, so the switch fails and changes nothing.
    QFile::remove(kde);
    const QString systemKde =
        xdg.writeFile(xdg.home() + "/etc/xdg/kdeglobals", "[General]\nBrowserApplication=links.desktop\n");
    ASSERT_EQ(setDefault("org.example.pages"), HandlerService::noErr);
    EXPECT_EQ(xdg.readFile(kde), "[General]\nBrowserApplication=Org.Example.Pages.desktop\n");
    EXPECT_EQ(
        run("kreadconfig5", {"--file", "kdeglobals", "--group", "General", "--key", "BrowserApplication"}),
        "Org.Example.Pages.desktop");
    xdg.writeFile(systemKde, "[General]\nBrowserApplication[$i]=links.desktop\n");
    ASSERT_EQ(setDefault("links"), HandlerService::noErr); // what KDE reads already
    const QByteArray mimeapps = xdg.readFile(listPath());
    EXPECT_EQ(setDefault("org.example.pages"), HandlerService::verifyFailed);
    EXPECT_EQ(
        run("kreadconfig5", {"--file", "kdeglobals", "--group", "General", "--key", "BrowserApplication"}),
        "links.desktop");
    EXPECT_EQ(xdg.readFile(listPath()), mimeapps);
    EXPECT_EQ(xdg.readFile(kde), "[General]\nBrowserApplication=links.desktop\n");
    QFile::remove(systemKde);
    QFile::remove(kde);

    // XFCE keeps its keys before any group; only the one line changes. Its openers need a helper of
    // that name: one that runs the entry's command is written where none is installed.
    const QString helpers = xdg.writeFile(xdg.configHome() + "/xfce4/helpers.rc",
                                          "# mine\nTerminalEmulator=xterm\nWebBrowser=links\n\n"
                                          "[Extra]\nWebBrowser=not-this\n");
    entry("spaced.desktop",
          "Name=Spaced\nIcon=spaced-browser\nExec=\"/opt/My Browser/run\" --name=\"%c\" %U\n"
          "MimeType=x-scheme-handler/http;x-scheme-handler/https;\n");
    ASSERT_EQ(setDefault("spaced"), HandlerService::noErr);
    EXPECT_EQ(xdg.readFile(helpers), "# mine\nTerminalEmulator=xterm\nWebBrowser=spaced\n\n"
                                     "[Extra]\nWebBrowser=not-this\n");
    EXPECT_EQ(xdg.readFile(xdg.dataHome() + "/xfce4/helpers/spaced.desktop"),
              "[Desktop Entry]\nVersion=1.0\nType=X-XFCE-Helper\nName=Spaced\nIcon=spaced-browser\n"
              "X-XFCE-Category=WebBrowser\n"
              "X-XFCE-Commands=\"/opt/My Browser/run\" --name=\"\"\n"
              "X-XFCE-CommandsWithParameter=\"/opt/My Browser/run\" --name=\"\" \"%s\"\n");
}

TEST_F(MimeAppsHandlerTest, TwoProcessesSwitchingAtOnceLoseNothing) {
    xdg.writeFile(listPath(),
                  "# keep me\n[Default Applications]\nimage/png=viewer.desktop;\n\n[X-Mine]\nkey=value\n");
    QProcess first, second;
    for (QProcess* p : {&first, &second})
        p->start(SWITCHER_PATH, {"links", "org.example.pages", "100"});
    for (QProcess* p : {&first, &second}) {
        ASSERT_TRUE(p->waitForFinished(120000));
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().constData();
    }
    const QByteArray after = xdg.readFile(listPath());
    EXPECT_TRUE(after.startsWith("# keep me\n[Default Applications]\nimage/png=viewer.desktop;\n"));
    EXPECT_EQ(after.count("image/png=viewer.desktop;"), 1);
    EXPECT_EQ(after.count("[X-Mine]\nkey=value\n"), 1);
    EXPECT_EQ(after.count("x-scheme-handler/http="), 2); // one in each group
    // The last switch of each ends on Pages (100 is even), so Pages must be the default.
    EXPECT_EQ(gioDefault("x-scheme-handler/https"), "Org.Example.Pages.desktop");
    EXPECT_EQ(xdgMimeDefault("x-scheme-handler/http"), "Org.Example.Pages.desktop");
}

TEST_F(MimeAppsHandlerTest, TheCatalogueAndTheSwitchEndToEnd) {
    auto files = std::make_shared<platform::fake::FakeFileSystem>(); // no /Applications/Safari.app here
    platform::Override<platform::FileSystem> fs(files);
    platform::Override<platform::Workspace> ws(std::make_shared<DesktopWorkspace>(index));
    platform::Override<platform::BundleReader> br(std::make_shared<DesktopBundleReader>(index));
    platform::Override<platform::HandlerService> hs(service);

    const auto browsers = Tolvane::installedBrowsers();
    ASSERT_EQ(browsers.size(), 2);
    QHash<QString, Tolvane::DefaultBrowser> byId;
    for (const auto& b : browsers)
        byId.insert(b.bundleId, b);
    ASSERT_TRUE(byId.contains("org.example.pages"));
    EXPECT_EQ(byId["org.example.pages"].id(),
              "org.example.pages::" + QUrl::fromLocalFile(pages).toString(QUrl::FullyEncoded));
    EXPECT_EQ(byId["links"].appName, "Links");
    EXPECT_TRUE(Tolvane::installedBrowsers() == browsers); // same icons, same records

    byId["org.example.pages"].setAsDefault(false);
    EXPECT_EQ(xdgMimeDefault("x-scheme-handler/https"), "Org.Example.Pages.desktop");
    byId["links"].setAsDefault(false);
    EXPECT_EQ(gioDefault("x-scheme-handler/http"), "links.desktop");

    QFile::remove(links); // uninstalled after the list was made
    EXPECT_THROW(byId["links"].setAsDefault(false), Tolvane::LaunchServices::Error);
}

TEST_F(MimeAppsHandlerTest, TheWatcherSeesAConfigFolderAndListThatAppearLater) {
    // A first login: no ~/.config yet when the service starts.
    ASSERT_TRUE(QDir(xdg.configHome()).removeRecursively());
    MimeAppsWatcher watcher;
    QSignalSpy changed(&watcher, &MimeAppsWatcher::changed);
    // Another program makes the folder and writes the list into it. (xdg-mime 1.2, on Debian 13, leaves
    // this list alone while the folder is missing, so the test writes it as a settings tool would.)
    ASSERT_TRUE(QDir().mkpath(xdg.configHome()));
    QFile list(xdg.configHome() + "/mimeapps.list");
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("[Default Applications]\nx-scheme-handler/https=links.desktop;\n");
    list.close();
    ASSERT_EQ(xdgMimeDefault("x-scheme-handler/https"), "links.desktop");
    EXPECT_TRUE(changed.count() > 0 || changed.wait(20000));
    changed.clear();
    ASSERT_EQ(setDefault("org.example.pages"), HandlerService::noErr);
    EXPECT_TRUE(changed.wait(20000)) << "a later switch is seen too";
}

TEST_F(MimeAppsHandlerTest, WithoutHomeTheUserDatabaseNamesTheHomeFolder) {
    // Never "/.config" for a root run without HOME: the home folder comes from the user database.
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
    for (const bool empty : {false, true}) {
        if (empty)
            qputenv("HOME", "");
        else
            qunsetenv("HOME");
        const QString home = run("sh", {"-c", "getent passwd \"$(id -u)\" | cut -d: -f6"});
        ASSERT_TRUE(home.startsWith('/') && home != "/") << qPrintable(home);
        EXPECT_EQ(platform::configHome(), home + "/.config");
        EXPECT_EQ(platform::dataHome(), home + "/.local/share");
        EXPECT_EQ(MimeAppsHandlerService::lockFilePath(), home + "/.config/tolvane/mimeapps.list.lock");
    }
}

TEST_F(MimeAppsHandlerTest, EntriesThatForwardToThePreferredBrowserStandForItAndAreNeverChosen) {
    // Debian's x-www-browser alternative leads to the "other" browser's program.
    const QString bin = xdg.home() + "/bin";
    const QString other = xdg.writeFile(bin + "/other-browser", "#!/bin/sh\nexit 0\n");
    QFile::setPermissions(other, QFile::permissions(other) | QFile::ExeOwner);
    ASSERT_TRUE(QFile::link(other, bin + "/x-www-browser"));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.toUtf8() + ':' + path);
    const auto restorePath = qScopeGuard([&] { qputenv("PATH", path); });
    entry("other.desktop", "Name=Other\nExec=" + other.toUtf8() + " %u\nMimeType=x-scheme-handler/https;\n");

    const QByteArray https = "\nMimeType=x-scheme-handler/http;x-scheme-handler/https;\n";
    entry("debian-www.desktop", "Name=Alternative\nExec=x-www-browser %u" + https);
    entry("sensible.desktop", "Name=Sensible\nExec=sensible-browser %u" + https);
    entry("opener.desktop", "Name=Opener\nExec=env LANG=C xdg-open %u" + https);
    entry("gio-open.desktop", "Name=Gio\nExec=gio open %u" + https);
    entry("kio.desktop", "Name=Kio\nExec=kioclient5 exec %u" + https);

    DesktopWorkspace workspace(index);
    QStringList listed;
    for (const QUrl& url : workspace.urlsForApplicationsToOpenURL(QUrl("https:")))
        listed << QFileInfo(url.toLocalFile()).fileName();
    EXPECT_EQ(listed, (QStringList{"links.desktop", "other.desktop", "Org.Example.Pages.desktop"}));
    EXPECT_EQ(setDefault("debian-www"), HandlerService::applicationNotFound);
    EXPECT_FALSE(QFile::exists(listPath()));

    // Named as the default, a forwarder stands for the browser it reaches; where that is the
    // default itself, the next one listed counts.
    xdg.writeFile(listPath(),
                  "[Default Applications]\nx-scheme-handler/https=debian-www.desktop;links.desktop\n");
    EXPECT_EQ(service->defaultHandlerForURLScheme("https"), "other.desktop");
    xdg.writeFile(listPath(),
                  "[Default Applications]\nx-scheme-handler/https=gio-open.desktop;links.desktop\n");
    EXPECT_EQ(service->defaultHandlerForURLScheme("https"), "links.desktop");
}

TEST_F(MimeAppsHandlerTest, AFileThatIsNoPlainFileIsNamedNotWaitedOn) {
    // A named pipe would block its reader for good, holding the switch lock.
    qputenv("XDG_CURRENT_DESKTOP", "XFCE");
    ASSERT_TRUE(QDir().mkpath(xdg.configHome() + "/xfce4"));
    for (const QString& path : {listPath(), xdg.configHome() + "/xfce4/helpers.rc"}) {
        ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        EXPECT_EQ(setDefault("links"), HandlerService::writeFailed) << qPrintable(path);
        EXPECT_TRUE(service->failureReason().contains(path)) << qPrintable(service->failureReason());
        EXPECT_TRUE(service->failureReason().contains("not a regular file"));
        EXPECT_EQ(service->defaultHandlerForURLScheme("https"), std::nullopt);
        QFile::remove(path);
    }
    EXPECT_EQ(setDefault("links"), HandlerService::noErr);
}

TEST_F(MimeAppsHandlerTest, AListGLibCannotLoadIsNoSuccessAndKeepsItsBytes) {
    // A merge conflict from a dotfiles repository: GLib drops the whole list for its marker lines.
    const QByteArray conflicted = "[Default Applications]\n"
                                  "<<<<<<< HEAD\n"
                                  "x-scheme-handler/http=links.desktop;\n"
                                  "=======\n"
                                  "x-scheme-handler/http=old.desktop;\n"
                                  ">>>>>>> laptop\n";
    xdg.writeFile(listPath(), conflicted);
    xdg.writeFile(xdg.home() + "/etc/xdg/mimeapps.list",
                  "[Default Applications]\nx-scheme-handler/http=links.desktop;\n");
    ASSERT_EQ(gioDefault("x-scheme-handler/http"), "links.desktop"); // from the system's list
    EXPECT_EQ(setDefault("org.example.pages"), HandlerService::verifyFailed);
    EXPECT_TRUE(service->failureReason().contains(listPath())) << qPrintable(service->failureReason());
    EXPECT_TRUE(service->failureReason().contains("line 2")) << qPrintable(service->failureReason());
    EXPECT_EQ(xdg.readFile(listPath()), conflicted);
    EXPECT_EQ(gioDefault("x-scheme-handler/http"), "links.desktop");
}

TEST_F(MimeAppsHandlerTest, AStowedConfigFolderKeepsItsLinksAndGrowsNoFolder) {
    // As a dotfiles manager folds folders: ~/.config is a link, and so is the list inside it, by a
    // relative path that the kernel resolves from the real folder, not from ~/.config.
    const QString package = xdg.home() + "/dotfiles/config/.config";
    const QString shared = xdg.home() + "/dotfiles/shared/mimeapps.list";
    xdg.writeFile(shared, "# shared between machines\n");
    ASSERT_TRUE(QDir().mkpath(package));
    ASSERT_TRUE(QDir(xdg.configHome()).removeRecursively());
    ASSERT_TRUE(QFile::link("dotfiles/config/.config", xdg.configHome()));
    ASSERT_TRUE(QFile::link("../../shared/mimeapps.list", package + "/mimeapps.list"));
    const QString strayFolder = QFileInfo(xdg.home()).path() + "/shared"; // where text resolution leads
    const bool strayBefore = QFileInfo::exists(strayFolder);

    EXPECT_EQ(setDefault("links"), HandlerService::noErr) << qPrintable(service->failureReason());
    EXPECT_TRUE(QFileInfo(package + "/mimeapps.list").isSymLink());
    EXPECT_TRUE(xdg.readFile(shared).startsWith("# shared between machines\n\n[Default Applications]\n"));
    EXPECT_EQ(gioDefault("x-scheme-handler/http"), "links.desktop");
    EXPECT_EQ(QFileInfo::exists(strayFolder), strayBefore);
    if (!strayBefore)
        QDir(strayFolder).removeRecursively();
}

TEST_F(MimeAppsHandlerTest, ACrlfListStaysCrlfAndARollBackTakesTheFoldersItMade) {
    xdg.writeFile(listPath(), "[Default Applications]\r\nimage/png=viewer.desktop\r\n");
    ASSERT_EQ(setDefault("links"), HandlerService::noErr);
    const QByteArray crlf = xdg.readFile(listPath());
    EXPECT_EQ(crlf.count('\n'), crlf.count("\r\n")) << crlf.constData();
    EXPECT_EQ(xdgMimeDefault("x-scheme-handler/http"), "links.desktop");

    // XFCE's files go in folders that do not exist yet; the last write fails.
    qputenv("XDG_CURRENT_DESKTOP", "XFCE");
    auto failing = std::make_shared<FailingService>(index);
    failing->failAt = 3; // mimeapps.list, helpers.rc, then the helper
    EXPECT_EQ(failing->setDefaultHandlerForURLScheme("http", "org.example.pages"),
              HandlerService::writeFailed);
    EXPECT_EQ(failing->failureReason(), "injected");
    EXPECT_EQ(xdg.readFile(listPath()), crlf);
    EXPECT_FALSE(QFileInfo::exists(xdg.configHome() + "/xfce4"));
    EXPECT_FALSE(QFileInfo::exists(xdg.dataHome() + "/xfce4"));
}

namespace {

// Ends its own process in the middle of a switch, as a logout or a kill would, after the first file.
class EndedService : public MimeAppsHandlerService {
public:
    EndedService(std::shared_ptr<DesktopEntryIndex> index, int signal)
        : MimeAppsHandlerService(std::move(index)), signal_(signal) {}

protected:
    bool replaceFile(const QString& path, const QByteArray& content, QString* error) override {
        if (++writes_ != 2)
            return MimeAppsHandlerService::replaceFile(path, content, error);
        if (signal_ == SIGTERM) {
            kill(getpid(), SIGTERM);
            return MimeAppsHandlerService::replaceFile(path, content, error);
        }
        // Killed while the second file's new version is being written.
        const QString folder = QFileInfo(path).path(), name = '.' + QFileInfo(path).fileName() + '.';
        std::thread killer([=] {
            for (;;)
                for (const QString& entry : QDir(folder).entryList(QDir::Files | QDir::Hidden))
                    if (entry.startsWith(name))
                        kill(getpid(), SIGKILL);
        });
        killer.detach();
        return MimeAppsHandlerService::replaceFile(path, QByteArray(256 * 1024 * 1024, '#'), error);
    }

private:
    int signal_;
    int writes_ = 0;
};

} // namespace

TEST_F(MimeAppsHandlerTest, ASwitchEndedBySignalStaysWholeOrNothing) {
    qputenv("XDG_CURRENT_DESKTOP", "XFCE");
    const QString helpers = xdg.writeFile(xdg.configHome() + "/xfce4/helpers.rc", "WebBrowser=links\n");
    const QByteArray list = "[Default Applications]\nx-scheme-handler/http=links.desktop;\n";
    xdg.writeFile(listPath(), list);
    ASSERT_EQ(setDefault("links"), HandlerService::noErr);
    const auto hidden = [&] {
        QStringList all;
        for (const QString& folder : {xdg.configHome(), xdg.configHome() + "/xfce4"})
            for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
                if (name.startsWith('.'))
                    all << name;
        return all;
    };
    for (const int signal : {SIGTERM, SIGKILL}) {
        const QByteArray listBefore = xdg.readFile(listPath());
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            EndedService ended(std::make_shared<DesktopEntryIndex>(), signal);
            ended.setDefaultHandlerForURLScheme("http", "org.example.pages");
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << signal;
        EXPECT_EQ(WTERMSIG(status), signal) << "the request to end is kept, not swallowed";
        // A term waits for the switch to be whole; a kill cannot, so the next run undoes it.
        const auto now = service->defaultHandlerForURLScheme("http");
        if (signal == SIGTERM) {
            EXPECT_EQ(now, "Org.Example.Pages.desktop");
            EXPECT_EQ(xdg.readFile(helpers), "WebBrowser=Org.Example.Pages\n");
            ASSERT_EQ(setDefault("links"), HandlerService::noErr);
        } else {
            EXPECT_EQ(now, "links.desktop");
            EXPECT_EQ(xdg.readFile(listPath()), listBefore);
            EXPECT_EQ(xdg.readFile(helpers), "WebBrowser=links\n");
        }
        EXPECT_EQ(hidden(), QStringList()) << signal;
    }
}

TEST_F(MimeAppsHandlerTest, AProfileIsChosenAsABrowserIsAndStandsForNothingOnceGone) {
    entry("chromium.desktop", "Name=Chromium\nExec=chromium %U\nIcon=chromium\n"
                              "MimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;\n");
    const QString localState = xdg.configHome() + "/chromium/Local State";
    const auto writeProfiles = [&](const QByteArray& more) {
        xdg.writeFile(localState,
                      R"({"profile":{"info_cache":{"Default":{"name":"Person 1"})" + more + "}}}");
    };
    writeProfiles(R"(,"Profile 1":{"name":"Work \"A\" $x;%"})");
    auto profiles = std::make_shared<BrowserProfiles>([this] { return index->entries(); }, 0);
    service = std::make_shared<MimeAppsHandlerService>(index, profiles);
    platform::Override<platform::FileSystem> fs(std::make_shared<platform::fake::FakeFileSystem>());
    platform::Override<platform::Workspace> ws(std::make_shared<DesktopWorkspace>(index, profiles));
    platform::Override<platform::BundleReader> br(
        std::make_shared<DesktopBundleReader>(index, DesktopBundleReader::Versions::skipped, profiles));
    platform::Override<platform::HandlerService> hs(service);

    QStringList shown;
    for (const auto& b : Tolvane::installedBrowsers())
        shown << b.appName;
    EXPECT_EQ(shown, (QStringList{"Chromium", "Chromium \u2014 Person 1", "Chromium \u2014 Work \"A\" $x;%",
                                  "Links", "Pages"}));
    const Tolvane::DefaultBrowser work = Tolvane::installedBrowsers()[2];
    work.setAsDefault(false);
    const QString id = service->defaultHandlerForURLScheme("https").value_or("none");
    EXPECT_TRUE(id.startsWith("tolvane-profile-")) << id.toStdString();
    EXPECT_EQ(xdgMimeDefault("x-scheme-handler/https"), id);
    EXPECT_EQ(gioDefault("x-scheme-handler/http"), id);
    // GLib reads the written command as the browser's with the profile's folder as one argument.
    const QString written = xdg.dataHome() + "/applications/" + id;
    const auto parsed = DesktopEntry::read(written);
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(parsed->boolValue("NoDisplay"));
    // Its one word is a script that any opener can start, running the browser with the profile's
    // folder as one argument.
    const QString script = xdg.dataHome() + "/tolvane/profiles/" + id.chopped(8);
    EXPECT_EQ(run("python3", {"-c",
                              "import sys, shlex, configparser; c = configparser.RawConfigParser(); "
                              "c.optionxform = str; c.read(sys.argv[1]); "
                              "print(shlex.split(c['Desktop Entry']['Exec']))",
                              written}),
              "['" + script + "', '%U']");
    EXPECT_EQ(run("python3",
                  {"-c", "import sys, shlex; print(shlex.split(open(sys.argv[1]).read().splitlines()[-1]))",
                   script}),
              "['exec', 'chromium', '--profile-directory=Profile 1', '$@']");
    EXPECT_TRUE(QFileInfo(script).isExecutable());

    // The profile deleted in the browser: the entry stands for nothing, as an uninstalled browser.
    writeProfiles("");
    EXPECT_NE(service->defaultHandlerForURLScheme("https").value_or("none"), id);
    EXPECT_EQ(Tolvane::installedBrowsers().size(), 3);
    // The next switch takes the entry away.
    EXPECT_EQ(setDefault("links"), HandlerService::noErr);
    EXPECT_FALSE(QFileInfo::exists(written));
    EXPECT_FALSE(QFileInfo::exists(script));
}
