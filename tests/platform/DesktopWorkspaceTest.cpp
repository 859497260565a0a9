#include "platform/linux/DesktopWorkspace.h"
#include "DesktopFixture.h"

#include <QImage>
#include <QPixmap>

#include <thread>

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

TEST_F(DesktopWorkspaceTest, GioOrderFirstThenWhatItsStaleCacheMissed) {
    browser("alpha.desktop", "Alpha");
    browser("beta.desktop", "Beta");
    browser("mail.desktop", "Mail", "x-scheme-handler/mailto;");
    run("update-desktop-database", {xdg.applicationsDir()});
    browser("gamma.desktop", "Gamma"); // installed after the cache was built
    xdg.writeFile(xdg.configHome() + "/mimeapps.list",
                  "[Added Associations]\nx-scheme-handler/https=beta.desktop;\n");

    // GIO itself, in a process of its own, does not know gamma: its cache is stale.
    const QString gio = run("gio", {"mime", "x-scheme-handler/https"});
    ASSERT_TRUE(gio.contains("alpha.desktop"));
    ASSERT_FALSE(gio.contains("gamma.desktop"));

    EXPECT_EQ(listed(), (QStringList{"beta.desktop", "alpha.desktop", "gamma.desktop"}));
    const auto urls = workspace.urlsForApplicationsToOpenURL(QUrl("https:"));
    EXPECT_EQ(urls[0], QUrl::fromLocalFile(xdg.applicationsDir() + "/beta.desktop"));
}

TEST_F(DesktopWorkspaceTest, EveryCallSeesEntriesAddedOrRemovedSinceTheLast) {
    browser("one.desktop", "One");
    EXPECT_EQ(listed(), QStringList{"one.desktop"});
    browser("two.desktop", "Two");
    EXPECT_EQ(listed(), (QStringList{"one.desktop", "two.desktop"}));
    QFile::remove(xdg.applicationsDir() + "/one.desktop");
    EXPECT_EQ(listed(), QStringList{"two.desktop"});
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
    EXPECT_NE(workspace.iconForFile(missing).cacheKey(), again.cacheKey());

    const QImage painted = again.pixmap(32).toImage();
    ASSERT_FALSE(painted.isNull());
    EXPECT_EQ(painted.pixelColor(16, 16), QColor(Qt::red));
    EXPECT_FALSE(workspace.iconForFile(missing).pixmap(16).isNull());
    const QString notAnImage =
        browser("text-icon.desktop", "T", "x-scheme-handler/https;\nIcon=" + withFile.toUtf8());
    EXPECT_FALSE(workspace.iconForFile(notAnImage).pixmap(16).isNull());
    EXPECT_FALSE(workspace.iconForFile(xdg.home() + "/not-even-a-file.desktop").pixmap(16).isNull());
}
