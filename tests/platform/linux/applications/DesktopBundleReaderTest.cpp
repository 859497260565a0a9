// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/applications/DesktopBundleReader.h"
#include "support/DesktopFixture.h"

#include <QFile>

using namespace platform::linux_;

namespace {

class DesktopBundleReaderTest : public DesktopFixture {
protected:
    // Exports count only where the session looks them up.
    void addDataDir(const QString& dir) {
        qputenv("XDG_DATA_DIRS", qgetenv("XDG_DATA_DIRS") + ':' + dir.toUtf8());
    }
    std::optional<platform::Bundle> bundle(const QString& path) {
        return reader.bundleAt(QUrl::fromLocalFile(path));
    }
    QString snapRoot = xdg.home() + "/snap";
    QString snapExports = xdg.home() + "/snapd/desktop";
    DesktopBundleReader reader{std::make_shared<DesktopEntryIndex>(), xdg.home() + "/snap"};
};

} // namespace

TEST_F(DesktopBundleReaderTest, IdentifierAndNameComeFromTheEntry) {
    const auto b =
        bundle(browser("org/Example.Web.desktop", "Example Web", "x-scheme-handler/https;\nVersion=1.5"));
    ASSERT_TRUE(b);
    EXPECT_EQ(b->bundleIdentifier, "org-Example.Web");
    EXPECT_EQ(b->info.value("CFBundleName"), "Example Web");
    // Version= is the entry format's version, not the application's.
    EXPECT_FALSE(b->info.contains("CFBundleShortVersionString"));
    EXPECT_FALSE(b->info.contains("CFBundleVersion"));

    const QString localized =
        browser("net.desktop", "Net", "x-scheme-handler/https;\nName[de]=Netz\nName[fr_FR]=Toile");
    const QLocale saved;
    QLocale::setDefault(QLocale("de_AT"));
    EXPECT_EQ(bundle(localized)->info.value("CFBundleName"), "Netz");
    QLocale::setDefault(QLocale("fr_FR"));
    EXPECT_EQ(bundle(localized)->info.value("CFBundleName"), "Toile");
    QLocale::setDefault(QLocale("ja_JP"));
    EXPECT_EQ(bundle(localized)->info.value("CFBundleName"), "Net");
    QLocale::setDefault(saved);

    EXPECT_FALSE(bundle(xdg.writeFile(xdg.home() + "/readme.txt", "[Desktop Entry]\nType=Application\n")));
    EXPECT_FALSE(bundle(xdg.home() + "/missing.desktop"));
    EXPECT_FALSE(bundle(entry("hidden.desktop", "Name=H\nExec=x\nHidden=true\n")));
    EXPECT_FALSE(reader.bundleAt(QUrl("https://example.org/web.desktop")));
}

TEST_F(DesktopBundleReaderTest, NameFollowsTheLocaleLookupOrderWithModifiers) {
    const QString all = browser("all.desktop", "Web",
                                "x-scheme-handler/https;\nName[sr]=Веб\nName[sr@latin]=Veb\n"
                                "Name[sr_RS]=Веб РС\nName[sr_RS@latin]=Veb RS");
    const QString countryOrModifier =
        browser("some.desktop", "Web", "x-scheme-handler/https;\nName[sr_RS]=Веб РС\nName[sr@latin]=Veb");
    const QByteArray saved = qgetenv("LC_ALL");
    const auto nameIn = [&](const char* locale, const QString& path) {
        qputenv("LC_ALL", locale);
        return bundle(path)->info.value("CFBundleName").toString();
    };
    EXPECT_EQ(nameIn("sr_RS.UTF-8@latin", all), "Veb RS");
    EXPECT_EQ(nameIn("sr_ME@latin", all), "Veb");
    EXPECT_EQ(nameIn("sr_RS.UTF-8", all), "Веб РС");
    EXPECT_EQ(nameIn("sr_ME", all), "Веб");
    EXPECT_EQ(nameIn("sr@latin", all), "Veb");
    EXPECT_EQ(nameIn("de_DE.UTF-8", all), "Web");
    // lang_COUNTRY comes before lang@MODIFIER; a modifier the locale lacks is never taken.
    EXPECT_EQ(nameIn("sr_RS@latin", countryOrModifier), "Веб РС");
    EXPECT_EQ(nameIn("sr_ME@latin", countryOrModifier), "Veb");
    EXPECT_EQ(nameIn("sr_ME", countryOrModifier), "Web");
    if (saved.isNull())
        qunsetenv("LC_ALL");
    else
        qputenv("LC_ALL", saved);
}

TEST_F(DesktopBundleReaderTest, VersionFromTheNewestAppStreamRelease) {
    const QString path = browser("org.example.Meta.desktop", "Meta");
    xdg.writeFile(
        xdg.dataHome() + "/metainfo/org.example.Meta.metainfo.xml",
        "<?xml version=\"1.0\"?>\n<component type=\"desktop-application\"><id>org.example.Meta</id>"
        "<releases><release version=\"1.9\" date=\"2022-01-01\"/>"
        "<release version=\"2.10\" date=\"2023-05-01\"><description><p>x</p></description></release>"
        "<release version=\"2.2\" date=\"2021-01-01\"/></releases></component>");
    auto b = bundle(path);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->info.value("CFBundleShortVersionString"), "2.10");
    EXPECT_FALSE(b->info.contains("CFBundleVersion"));

    // Legacy name, in a system data folder, releases without dates: the highest version.
    const QString old = browser("old.desktop", "Old");
    xdg.writeFile(
        xdg.systemData() + "/metainfo/old.appdata.xml",
        "<component><releases><release version=\"0.9\"/><release version=\"0.10\"/></releases></component>");
    b = bundle(old);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->info.value("CFBundleShortVersionString"), "0.10");

    const QString broken =
        browser("broken.desktop", "Broken", "x-scheme-handler/https;\nX-AppImage-Version=7.1");
    xdg.writeFile(xdg.dataHome() + "/metainfo/broken.metainfo.xml", "<component><releases><release");
    b = bundle(broken);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->info.value("CFBundleShortVersionString"), "7.1"); // falls through to the AppImage key
}

TEST_F(DesktopBundleReaderTest, SnapVersionWithoutTheRevision) {
    addDataDir(snapExports);
    const QString path =
        browser("snapweb_snapweb.desktop", "Snap Web", "x-scheme-handler/https;\nX-AppImage-Version=9",
                snapExports + "/applications");
    xdg.writeFile(
        snapRoot + "/snapweb/1234/meta/snap.yaml",
        "name: snapweb\nversion: '121.0.1-1'\nsummary: x\napps:\n  snapweb:\n    version: nested\n");
    ASSERT_TRUE(QFile::link("1234", snapRoot + "/snapweb/current"));
    const auto b = bundle(path);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->bundleIdentifier, "snapweb_snapweb");
    EXPECT_EQ(b->info.value("CFBundleShortVersionString"), "121.0.1-1");
    // The revision changes with every refresh; the browser must stay the same one.
    EXPECT_FALSE(b->info.contains("CFBundleVersion"));
}

TEST_F(DesktopBundleReaderTest, FlatpakVersionFromTheAppsOwnMetainfo) {
    const QString installation = xdg.home() + "/flatpak";
    addDataDir(installation + "/exports/share");
    const QString path =
        browser("org.example.Flat.desktop", "Flat", {}, installation + "/exports/share/applications");
    xdg.writeFile(
        installation +
            "/app/org.example.Flat/current/active/files/share/metainfo/org.example.Flat.metainfo.xml",
        "<component><releases><release version=\"128.0\" timestamp=\"1720000000\"/>"
        "<release version=\"127.0\" timestamp=\"1710000000\"/></releases></component>");
    const auto b = bundle(path);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->bundleIdentifier, "org.example.Flat");
    EXPECT_EQ(b->info.value("CFBundleShortVersionString"), "128.0");
}

TEST(AppVersionFinder, ComparesVersionsNumerically) {
    EXPECT_LT(AppVersionFinder::compareVersions("1.9", "1.10"), 0);
    EXPECT_GT(AppVersionFinder::compareVersions("2.0.1", "2.0"), 0);
    EXPECT_EQ(AppVersionFinder::compareVersions("1.02", "1.2"), 0);
    EXPECT_EQ(AppVersionFinder::snapYamlVersion("name: x\nversion: \"3.1\" # comment\n"), "3.1");
    EXPECT_EQ(AppVersionFinder::snapYamlVersion("name: x\n"), std::nullopt);
}
