#include "SettingsStore.h"
#include "TolvaShortcutReactor.h"
#include "support/CaptureStdout.h"
#include "support/FakePlatform.h"
#include "support/TempXdg.h"

#include <gtest/gtest.h>

using namespace Tolvane;

namespace {

struct ReactorFixture : ::testing::Test {
    TempXdg xdg;
    FakePlatform fakes;
    QString fooId;

    void SetUp() override {
        fakes.addApp("/apps/foo.desktop", "org.foo",
                     {{"CFBundleName", "Foo"}, {"CFBundleShortVersionString", "2"}});
        fooId = "org.foo:2:file:///apps/foo.desktop";
    }
};

} // namespace

TEST_F(ReactorFixture, NoStoredBrowserLooksNothingUp) {
    CaptureStdout out;
    TolvaShortcutReactor::toggleBrowser();
    EXPECT_EQ(out.lines(), QStringList{"no predefined browser"});
    EXPECT_TRUE(fakes.workspace->queriedURLs.isEmpty());
    EXPECT_TRUE(fakes.handlers->calls.isEmpty());
}

TEST_F(ReactorFixture, StaleOrEmptyIdentifierSwitchesNothing) {
    // Another version of the same file would match; a moved file or another application does not.
    for (const QString& stored :
         {QString(""), QString("org.foo:2:file:///elsewhere/foo.desktop"),
          QString("org.other:2:file:///apps/foo.desktop"), QString("org.foo:file:///apps/foo.desktop")}) {
        SettingsStore::setString(SettingsStore::toggleBrowserId, stored);
        CaptureStdout out;
        TolvaShortcutReactor::toggleBrowser();
        EXPECT_EQ(out.lines(), QStringList{"No valid default browser is selected"});
    }
    EXPECT_TRUE(fakes.handlers->calls.isEmpty());
}

TEST_F(ReactorFixture, SwitchesWithStoredAutoConfirmWhateverTheToggleSwitchSays) {
    SettingsStore::setString(SettingsStore::toggleBrowserId, fooId);
    SettingsStore::setBool(SettingsStore::toggleBrowser, false);
    {
        CaptureStdout out;
        TolvaShortcutReactor::toggleBrowser();
        EXPECT_EQ(out.lines(), QStringList{"Setting default browser to " + fooId});
    }
    ASSERT_EQ(fakes.handlers->calls.size(), 1);
    EXPECT_EQ(fakes.handlers->calls[0].second, "org.foo");
    EXPECT_TRUE(fakes.scripts->sources.isEmpty()) << "absent auto-confirm means no confirmation";

    SettingsStore::setBool(SettingsStore::autoConfirmChange, true);
    TolvaShortcutReactor::toggleBrowser();
    EXPECT_EQ(fakes.scripts->waitForRuns(1), 1);
    EXPECT_EQ(fakes.handlers->calls.size(), 2) << "the same browser is set again on every release";
}

TEST_F(ReactorFixture, FirstMatchingCopyWinsAndFailureIsPrinted) {
    // A second entry with the same id (same bundle, version and location).
    fakes.workspace->applications << QUrl::fromLocalFile("/apps/foo.desktop");
    SettingsStore::setString(SettingsStore::toggleBrowserId, fooId);
    fakes.handlers->status = -10814;
    CaptureStdout out;
    TolvaShortcutReactor::toggleBrowser();
    EXPECT_EQ(out.lines(), (QStringList{"Setting default browser to " + fooId,
                                        "Error handling shortcut couldNotSetDefaultBrowser"}));
    EXPECT_EQ(fakes.handlers->calls.size(), 1);
    ASSERT_EQ(fakes.notifications->shown.size(), 1);
    EXPECT_EQ(fakes.notifications->shown[0].first, "Could not make Foo the default browser");
}
