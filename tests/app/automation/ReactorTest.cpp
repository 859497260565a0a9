// SPDX-License-Identifier: GPL-3.0-or-later
#include "GlobalKeys/Shortcuts.h"
#include "GlobalKeys/Testing.h"
#include "SettingsStore.h"
#include "TolvaShortcutReactor.h"
#include "platform/fake/FakeHotKeyEvents.h"
#include "support/CaptureStdout.h"
#include "support/FakePlatform.h"
#include "support/TempXdg.h"

#include <QSettings>
#include <QTest>

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
        SettingsStore::setBool(SettingsStore::toggleBrowser, true);
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

TEST_F(ReactorFixture, StaleOrEmptyIdentifierSwitchesNothingAndSaysWhichBrowserIsGone) {
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
    // A tray app's printed line reaches nobody: the desktop shows what went wrong.
    ASSERT_EQ(fakes.notifications->shown.size(), 4);
    EXPECT_EQ(fakes.notifications->shown[0].first, "Could not make the chosen browser the default browser");
    EXPECT_EQ(fakes.notifications->shown[2].first, "Could not make org.other the default browser");
    EXPECT_EQ(fakes.notifications->shown[2].second,
              "It is no longer installed. Choose another browser for the shortcut in the settings.");
}

// The shortcut follows "Change browser", whoever switches it and also across a restart: off, the key
// is not registered (the desktop or another program may have it) and a press does nothing.
TEST_F(ReactorFixture, ShortcutIsRegisteredOnlyWhileChangeBrowserIsOn) {
    GlobalKeys::testing::resetState(); // the application's cases left their reactors' handlers
    auto keys = std::make_shared<platform::fake::FakeHotKeyEvents>();
    platform::Override<platform::HotKeyEvents> keysGuard{keys};
    const GlobalKeys::Name& name = TolvaShortcutReactor::toggleSystemBrowserKeys();
    constexpr std::uint32_t b = 11, controlOption = 0x1800;
    QSettings(GlobalKeys::userDefaultsPath(), QSettings::IniFormat)
        .setValue(GlobalKeys::userDefaultsKey(name), R"({"carbonKeyCode":11,"carbonModifiers":6144})");
    SettingsStore::setString(SettingsStore::toggleBrowserId, fooId);
    SettingsStore::setBool(SettingsStore::toggleBrowser, false);
    auto reactor = std::make_unique<TolvaShortcutReactor>();
    EXPECT_FALSE(keys->registrationFor(b, controlOption)) << "off at start";
    TolvaShortcutReactor::toggleBrowser();
    EXPECT_TRUE(fakes.handlers->calls.isEmpty());

    SettingsStore::setBool(SettingsStore::toggleBrowser, true); // as the settings window writes it
    ASSERT_TRUE(QTest::qWaitFor([&] { return keys->registrationFor(b, controlOption).has_value(); }));
    keys->fireHotKey(b, controlOption, platform::kEventHotKeyPressed);
    keys->fireHotKey(b, controlOption, platform::kEventHotKeyReleased);
    EXPECT_EQ(fakes.handlers->calls.size(), 1);

    SettingsStore::setBool(SettingsStore::toggleBrowser, false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return keys->registered.empty(); }));
    GlobalKeys::setShortcut(GlobalKeys::Shortcut(45, controlOption), name); // a script stores another key
    EXPECT_TRUE(keys->registered.empty()) << "a new key while off stays unregistered";

    reactor.reset();
    GlobalKeys::testing::resetState();
    reactor = std::make_unique<TolvaShortcutReactor>();
    EXPECT_TRUE(keys->registered.empty()) << "off after a restart";
    reactor.reset();
    GlobalKeys::testing::resetState();
}

TEST_F(ReactorFixture, SwitchesWithStoredAutoConfirm) {
    SettingsStore::setString(SettingsStore::toggleBrowserId, fooId);
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
