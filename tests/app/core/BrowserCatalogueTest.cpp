// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserCatalogue.h"
#include "LaunchServices.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

using namespace Tolvane;

namespace {

QVariantMap info(const QVariant& name, const QVariant& shortVersion = {}, const QVariant& build = {}) {
    QVariantMap map;
    if (name.isValid())
        map["CFBundleName"] = name;
    if (shortVersion.isValid())
        map["CFBundleShortVersionString"] = shortVersion;
    if (build.isValid())
        map["CFBundleVersion"] = build;
    return map;
}

} // namespace

TEST(BrowserCatalogue, RecordFieldsAndIdentifierForm) {
    FakePlatform fakes;
    fakes.addApp("/Applications/Foo.app/", "Com.Example.Foo", info("Foo", "1.2", "345"));

    const auto browsers = installedBrowsers();
    ASSERT_EQ(browsers.size(), 1);
    EXPECT_EQ(browsers[0].bundleId, "com.example.foo");
    EXPECT_EQ(browsers[0].appName, "Foo");
    EXPECT_EQ(browsers[0].appVersion, "1.2 345");
    EXPECT_EQ(browsers[0].id(), "com.example.foo:1.2 345:file:///Applications/Foo.app/");
    EXPECT_EQ(fakes.workspace->queriedURLs, QList<QUrl>{QUrl("https:")});
    EXPECT_EQ(fakes.workspace->iconPaths, QStringList{"/Applications/Foo.app/"});
}

TEST(BrowserCatalogue, VersionTextFromWhateverKeysArePresent) {
    FakePlatform fakes;
    fakes.addApp("/a/OnlyBuild.app", "b.only", info("B", {}, "7"));
    fakes.addApp("/a/OnlyShort.app", "s.only", info("S", "2.0"));
    fakes.addApp("/a/None.app", "n.none", info("N"));
    fakes.addApp("/a/NumberVersion.app", "x.num", info("X", 3, "9"));

    const auto browsers = installedBrowsers();
    ASSERT_EQ(browsers.size(), 4);
    EXPECT_EQ(browsers[0].id(), "b.only:7:file:///a/OnlyBuild.app");
    EXPECT_EQ(browsers[1].appVersion, "2.0");
    EXPECT_EQ(browsers[2].id(), "n.none::file:///a/None.app");
    EXPECT_EQ(browsers[3].appVersion, "9") << "only string values count";
}

TEST(BrowserCatalogue, NameThatIsMissingOrNotAStringIsAHyphen) {
    FakePlatform fakes;
    fakes.addApp("/a/One.app", "one", info(42));
    fakes.addApp("/a/Two.app", "two", {});
    const auto browsers = installedBrowsers();
    ASSERT_EQ(browsers.size(), 2);
    EXPECT_EQ(browsers[0].appName, "-");
    EXPECT_EQ(browsers[1].appName, "-");
}

TEST(BrowserCatalogue, SkipsWhatIsNotAnIdentifiedApplicationAndKeepsOrderAndCopies) {
    FakePlatform fakes;
    fakes.addApp("/z/Zeta.app", "zeta", info("Zeta", "1"));
    fakes.workspace->applications << QUrl::fromLocalFile("/not/a/bundle");
    const QUrl noId = QUrl::fromLocalFile("/a/NoId.app");
    fakes.workspace->applications << noId;
    fakes.bundles->bundles.insert(noId, platform::Bundle{std::nullopt, info("NoId")});
    fakes.addApp("/a/Alpha.app", "alpha", info("Alpha", "1"));
    fakes.addApp("/b/Zeta.app", "zeta", info("Zeta", "2"));

    const auto browsers = installedBrowsers();
    ASSERT_EQ(browsers.size(), 3);
    EXPECT_EQ(browsers[0].appName, "Zeta");
    EXPECT_EQ(browsers[1].appName, "Alpha");
    EXPECT_EQ(browsers[2].appName, "Zeta");
    EXPECT_FALSE(browsers[0] == browsers[2]);
    EXPECT_NE(browsers[0].id(), browsers[2].id());
}

TEST(BrowserCatalogue, EmptyPlatformAnswerGivesEmptyList) {
    FakePlatform fakes;
    EXPECT_TRUE(installedBrowsers().isEmpty());
}

TEST(BrowserCatalogue, EqualityNeedsAllFieldsIncludingTheIconObject) {
    FakePlatform fakes;
    fakes.addApp("/a/Foo.app", "foo", info("Foo", "1"));
    const auto first = installedBrowsers();
    const auto second = installedBrowsers();
    EXPECT_TRUE(first[0] == second[0]) << "the workspace hands out the same icon object";
    DefaultBrowser other = first[0];
    QIcon drawn;
    drawn.addPixmap(QPixmap(4, 4));
    other.appIcon = drawn;
    EXPECT_FALSE(first[0] == other);
    other = first[0];
    other.url = QUrl::fromLocalFile("/b/Foo.app");
    EXPECT_FALSE(first[0] == other);
}

TEST(SafariRule, ReportsTheFixedLocationWhenItExistsWhateverThePathOrCase) {
    FakePlatform fakes;
    fakes.files->existing.insert("/Applications/Safari.app/");
    const QUrl fixed = QUrl::fromLocalFile("/Applications/Safari.app/");
    fakes.bundles->bundles.insert(fixed,
                                  platform::Bundle{QString("com.apple.Safari"), info("Safari", "17.1")});
    fakes.addApp("/Volumes/Other/SAFARI.app", "com.apple.safari.other", info("Other Safari", "16"));
    fakes.addApp("/Users/me/Safari.app/", "com.apple.safari.mine", info("Mine", "15"));

    const auto browsers = installedBrowsers();
    ASSERT_EQ(browsers.size(), 2);
    for (const auto& b : browsers) {
        EXPECT_EQ(b.url.toString(), "file:///Applications/Safari.app/");
        EXPECT_EQ(b.bundleId, "com.apple.safari");
        EXPECT_EQ(b.appVersion, "17.1");
    }
    EXPECT_EQ(browsers[0].id(), browsers[1].id()) << "both copies keep their place in the list";
    // The icon still comes from the path the platform reported.
    EXPECT_EQ(fakes.workspace->iconPaths,
              (QStringList{"/Volumes/Other/SAFARI.app", "/Users/me/Safari.app/"}));
}

TEST(SafariRule, KeepsThePassedLocationWhenTheFixedOneIsMissingOrUnidentified) {
    FakePlatform fakes;
    fakes.addApp("/Users/me/Safari.app", "com.apple.safari", info("Safari", "15"));
    auto browsers = installedBrowsers();
    ASSERT_EQ(browsers.size(), 1);
    EXPECT_EQ(browsers[0].url.toString(), "file:///Users/me/Safari.app");

    // The fixed path exists but holds no identified bundle: fall through to the passed URL.
    fakes.files->existing.insert("/Applications/Safari.app/");
    browsers = installedBrowsers();
    ASSERT_EQ(browsers.size(), 1);
    EXPECT_EQ(browsers[0].url.toString(), "file:///Users/me/Safari.app");
}

TEST(LaunchServicesError, DescriptionDomainAndEquality) {
    const auto& error = LaunchServices::Error::couldNotSetDefaultBrowser;
    EXPECT_EQ(error.description(), "couldNotSetDefaultBrowser");
    EXPECT_STREQ(error.what(), "couldNotSetDefaultBrowser");
    EXPECT_EQ(LaunchServices::Error::domain(), "Tolvane.LaunchServices.Error");
    EXPECT_EQ(error.errorCode(), 0);
    EXPECT_TRUE(error == LaunchServices::Error{});
}
