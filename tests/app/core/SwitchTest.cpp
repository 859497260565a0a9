// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppDisplayName.h"
#include "BrowserCatalogue.h"
#include "ConfirmScript.h"
#include "LaunchServices.h"
#include "PermissionsHelper.h"
#include "support/CaptureStdout.h"
#include "support/FakePlatform.h"

#include <QThreadPool>

#include <gtest/gtest.h>

using namespace Tolvane;

namespace {

DefaultBrowser browser(const QString& id) {
    DefaultBrowser b;
    b.bundleId = id;
    b.url = QUrl::fromLocalFile("/a/" + id + ".app");
    return b;
}

} // namespace

TEST(ConfirmScript, ExactText) {
    EXPECT_EQ(confirmScriptSource.size(), 315);
    const QStringList lines = confirmScriptSource.split('\n');
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[0], "try");
    EXPECT_EQ(lines[4], "                tell (first button whose name starts with \"Use\")");
    EXPECT_EQ(lines[5], "                    perform action \"AXPress\"");
    EXPECT_EQ(lines[10], "end try");
}

TEST(SetAsDefault, SetsOnlyTheHttpSchemeAndRunsNoScriptWithoutAutoConfirm) {
    FakePlatform fakes;
    CaptureStdout out;
    browser("org.example.web").setAsDefault(false);
    QThreadPool::globalInstance()->waitForDone();
    ASSERT_EQ(fakes.handlers->calls.size(), 1);
    EXPECT_EQ(fakes.handlers->calls[0], (QPair<QString, QString>{"http", "org.example.web"}));
    EXPECT_TRUE(fakes.scripts->sources.isEmpty());
    EXPECT_TRUE(out.lines().isEmpty());
}

TEST(SetAsDefault, RefusalThrowsAndStartsNoScript) {
    FakePlatform fakes;
    fakes.handlers->status = -10814;
    CaptureStdout out;
    EXPECT_THROW(browser("x").setAsDefault(true), LaunchServices::Error);
    QThreadPool::globalInstance()->waitForDone();
    EXPECT_TRUE(fakes.scripts->sources.isEmpty());
    EXPECT_TRUE(out.lines().isEmpty());
}

TEST(SetAsDefault, EachSwitchWithAutoConfirmRunsItsOwnScriptOffTheCallingThread) {
    FakePlatform fakes;
    CaptureStdout out;
    browser("a").setAsDefault(true);
    browser("b").setAsDefault(true);
    EXPECT_EQ(fakes.scripts->waitForRuns(2), 2);
    QThreadPool::globalInstance()->waitForDone();
    EXPECT_EQ(fakes.scripts->sources[0], confirmScriptSource);
    EXPECT_EQ(out.lines().count("Running script to confirm dialog"), 2);
    EXPECT_EQ(out.lines().count("Script done."), 2);
}

TEST(RunConfirmScript, PrintsTheOutcomeOfEachKind) {
    FakePlatform fakes;
    {
        CaptureStdout out;
        fakes.scripts->outcome = {platform::ScriptRunner::Outcome::Kind::NotConstructed, {}};
        runConfirmScript();
        EXPECT_EQ(out.lines(),
                  (QStringList{"Running script to confirm dialog", "Unable to construct apple script"}));
    }
    {
        CaptureStdout out;
        fakes.scripts->outcome = {platform::ScriptRunner::Outcome::Kind::Failed,
                                  "{NSAppleScriptErrorNumber = -1743}"};
        runConfirmScript();
        EXPECT_EQ(out.lines(),
                  (QStringList{"Running script to confirm dialog", "There was a problem running the script.",
                               "{NSAppleScriptErrorNumber = -1743}"}));
    }
}

TEST(Permissions, TrustedProcessSeesNoAlert) {
    FakePlatform fakes;
    EXPECT_TRUE(PermissionsHelper::ensureAccessibilityPermission());
    EXPECT_TRUE(fakes.alert->shown.isEmpty());
    EXPECT_EQ(fakes.accessibility->prompts, QList<bool>{false});
}

TEST(Permissions, UntrustedProcessIsToldWhyThenAskedWithThePrompt) {
    FakePlatform fakes;
    fakes.accessibility->trusted = false;
    fakes.mainBundle->info["CFBundleDisplayName"] = "Tolvane";
    // The user grants the permission while the alert is up.
    fakes.alert->onShow = [&](const platform::AlertRequest&) { fakes.accessibility->trusted = true; };
    EXPECT_TRUE(PermissionsHelper::ensureAccessibilityPermission());
    ASSERT_EQ(fakes.alert->shown.size(), 1);
    EXPECT_EQ(fakes.alert->shown[0].messageText, "Tolvane Needs Accessibility Permissions");
    EXPECT_EQ(fakes.alert->shown[0].informativeText,
              "Please grant access to be able to confirm the default browser change in Settings > Privacy & "
              "Security > Accessibility.");
    EXPECT_TRUE(fakes.alert->shown[0].buttons.isEmpty());
    EXPECT_EQ(fakes.accessibility->prompts, (QList<bool>{false, true}));

    fakes.alert->onShow = nullptr;
    fakes.accessibility->trusted = false;
    EXPECT_FALSE(PermissionsHelper::ensureAccessibilityPermission());
}

TEST(AppDisplayName, FallsBackFromDisplayNameToNameToWarningSign) {
    FakePlatform fakes;
    EXPECT_EQ(appDisplayName(), "⚠️");
    fakes.mainBundle->info["CFBundleName"] = "Plain";
    EXPECT_EQ(appDisplayName(), "Plain");
    fakes.mainBundle->info["CFBundleDisplayName"] = "Shown";
    EXPECT_EQ(appDisplayName(), "Shown");
}
