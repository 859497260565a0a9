// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/applications/icons/DesktopWorkspace.h"
#include "BrowserCatalogue.h"
#include "platform/Services.h"
#include "platform/linux/applications/DesktopBundleReader.h"
#include "support/DesktopFixture.h"

#include <QImage>
#include <QPixmap>

#include <thread>

#include <sys/stat.h>

using namespace platform::linux_;

namespace {

class DesktopWorkspaceTest : public DesktopFixture {
protected:
    QStringList listed() {
        QStringList names;
        for (const QUrl& url : workspace.urlsForApplicationsToOpenURL(QUrl("https:")))
            names << url.fileName();
        return names;
    }
    DesktopWorkspace workspace{std::make_shared<DesktopEntryIndex>()};
};

} // namespace

TEST_F(DesktopWorkspaceTest, ByNameWhateverTheDefaultAssociationsOrAStaleCacheSay) {
    browser("alpha.desktop", "alpha");
    browser("beta.desktop", "Beta");
    browser("b-twin.desktop", "Beta"); // the same name: the desktop file ID decides
    browser("mail.desktop", "Mail", "x-scheme-handler/mailto;");
    run("update-desktop-database", {xdg.applicationsDir()});
    browser("gamma.desktop", "Gamma");                         // installed after the cache was built
    browser("zeta.desktop", "Zeta", "x-scheme-handler/http;"); // only associated with https
    const QStringList byName{"alpha.desktop", "b-twin.desktop", "beta.desktop", "gamma.desktop",
                             "zeta.desktop"};

    xdg.writeFile(xdg.configHome() + "/mimeapps.list",
                  "[Added Associations]\nx-scheme-handler/https=zeta.desktop;\n");
    EXPECT_EQ(listed(), byName);
    // Making one the default (and the desktop's recency order that comes with it) moves nothing.
    for (const QString& id : QStringList{"gamma.desktop", "beta.desktop"}) {
        xdg.writeFile(xdg.configHome() + "/mimeapps.list",
                      "[Default Applications]\nx-scheme-handler/https=" + id.toUtf8() +
                          "\n[Added Associations]\nx-scheme-handler/https=" + id.toUtf8() +
                          ";zeta.desktop;\n");
        EXPECT_EQ(listed(), byName) << id.toStdString();
    }
    const auto urls = workspace.urlsForApplicationsToOpenURL(QUrl("https:"));
    EXPECT_EQ(urls[0], QUrl::fromLocalFile(xdg.applicationsDir() + "/alpha.desktop"));
}

TEST_F(DesktopWorkspaceTest, EveryCallSeesEntriesAddedOrRemovedSinceTheLast) {
    browser("one.desktop", "One");
    EXPECT_EQ(listed(), QStringList{"one.desktop"});
    browser("two.desktop", "Two");
    EXPECT_EQ(listed(), (QStringList{"one.desktop", "two.desktop"}));
    QFile::remove(xdg.applicationsDir() + "/one.desktop");
    EXPECT_EQ(listed(), QStringList{"two.desktop"});
}

// A listing is kept while nothing it depends on changes; here every write counts at once (no
// clock tick to wait for), and each kind of change must end the kept one.
TEST_F(DesktopWorkspaceTest, AKeptListingSeesEveryChangeItDependsOn) {
    auto index = std::make_shared<DesktopEntryIndex>(0);
    platform::Override<platform::Workspace> ws(std::make_shared<DesktopWorkspace>(index));
    platform::Override<platform::BundleReader> br(
        std::make_shared<DesktopBundleReader>(index, DesktopBundleReader::Versions::skipped));
    auto names = [] {
        QStringList out;
        for (const auto& browser : Tolvane::installedBrowsers())
            out << browser.appName;
        return out;
    };
    const QString alpha = browser("alpha.desktop", "Alpha");
    browser("beta.desktop", "Beta");
    browser("mail.desktop", "Mail", "x-scheme-handler/mailto;");
    EXPECT_EQ(names(), (QStringList{"Alpha", "Beta"}));
    const auto first = Tolvane::installedBrowsers(), second = Tolvane::installedBrowsers();
    EXPECT_EQ(first.constData(), second.constData()) << "nothing changed, yet the listing was not kept";

    // Rewritten in place, as an editor or `>` does: the folder's time stays, the file's does not.
    struct stat before, after;
    stat(QFile::encodeName(alpha).constData(), &before);
    browser("alpha.desktop", "Alpha Renamed");
    stat(QFile::encodeName(alpha).constData(), &after);
    ASSERT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(names(), (QStringList{"Alpha Renamed", "Beta"}));

    xdg.writeFile(xdg.configHome() + "/mimeapps.list",
                  "[Added Associations]\nx-scheme-handler/https=mail.desktop;\n");
    EXPECT_EQ(names(), (QStringList{"Alpha Renamed", "Beta", "Mail"}));

    // A TryExec program installed later changes no entry file.
    const QString program = xdg.home() + "/later-browser";
    entry("gamma.desktop",
          "Name=Gamma\nExec=gamma %u\nTryExec=" + program.toUtf8() + "\nMimeType=x-scheme-handler/https;\n");
    EXPECT_EQ(names(), (QStringList{"Alpha Renamed", "Beta", "Mail"}));
    xdg.writeFile(program, "#!/bin/sh\n");
    QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
    EXPECT_EQ(names(), (QStringList{"Alpha Renamed", "Beta", "Gamma", "Mail"}));

    QFile::remove(xdg.applicationsDir() + "/beta.desktop");
    EXPECT_EQ(names(), (QStringList{"Alpha Renamed", "Gamma", "Mail"}));
}

TEST_F(DesktopWorkspaceTest, ListsOnlyWhatTheCurrentDesktopShows) {
    const QByteArray https = "x-scheme-handler/https;\n";
    browser("plain.desktop", "Plain");
    browser("userapp-Firefox-ABC123.desktop", "Firefox", https + "NoDisplay=true");
    browser("kde-only.desktop", "Kde", https + "OnlyShowIn=KDE;");
    browser("gnome-too.desktop", "Gnome too", https + "OnlyShowIn=X-Cinnamon;GNOME;");
    browser("not-gnome.desktop", "Not Gnome", https + "NotShowIn=GNOME;");
    browser("not-kde.desktop", "Not Kde", https + "NotShowIn=KDE;");
    // The first current desktop an entry mentions decides, as in GIO.
    browser("ubuntu-first.desktop", "Ubuntu", https + "OnlyShowIn=ubuntu;\nNotShowIn=GNOME;");
    browser("gone.desktop", "Gone", https + "TryExec=/nonexistent/browser");
    browser("shown-explicitly.desktop", "Shown", https + "NoDisplay=false");

    qputenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    EXPECT_EQ(listed(), (QStringList{"gnome-too.desktop", "not-kde.desktop", "plain.desktop",
                                     "shown-explicitly.desktop", "ubuntu-first.desktop"}));
    qputenv("XDG_CURRENT_DESKTOP", "KDE");
    EXPECT_EQ(listed(), (QStringList{"kde-only.desktop", "not-gnome.desktop", "plain.desktop",
                                     "shown-explicitly.desktop"}));
    qputenv("XDG_CURRENT_DESKTOP", "");
    EXPECT_EQ(listed(), (QStringList{"not-gnome.desktop", "not-kde.desktop", "plain.desktop",
                                     "shown-explicitly.desktop"}));
}

TEST_F(DesktopWorkspaceTest, IconsAreSharedPerFileResolvedLazilyAndNeverEmpty) {
    QImage red(32, 32, QImage::Format_ARGB32);
    red.fill(Qt::red);
    const QString png = xdg.home() + "/red.png";
    ASSERT_TRUE(red.save(png));
    const QString withFile =
        browser("file-icon.desktop", "F", "x-scheme-handler/https;\nIcon=" + png.toUtf8());
    const QString missing =
        browser("no-icon.desktop", "N", "x-scheme-handler/https;\nIcon=no-such-icon-anywhere");

    // Made on another thread, as the catalogue may be asked from anywhere.
    QIcon fromThread;
    std::thread([&] { fromThread = workspace.iconForFile(withFile); }).join();
    const QIcon again = workspace.iconForFile(withFile);
    EXPECT_EQ(fromThread.cacheKey(), again.cacheKey());
    EXPECT_NE(QIcon(workspace.iconForFile(missing)).cacheKey(), again.cacheKey());

    const QImage painted = again.pixmap(32).toImage();
    ASSERT_FALSE(painted.isNull());
    EXPECT_EQ(painted.pixelColor(16, 16), QColor(Qt::red));
    EXPECT_FALSE(QIcon(workspace.iconForFile(missing)).pixmap(16).isNull());
    const QString notAnImage =
        browser("text-icon.desktop", "T", "x-scheme-handler/https;\nIcon=" + withFile.toUtf8());
    EXPECT_FALSE(QIcon(workspace.iconForFile(notAnImage)).pixmap(16).isNull());
    EXPECT_FALSE(QIcon(workspace.iconForFile(xdg.home() + "/not-even-a-file.desktop")).pixmap(16).isNull());
}
