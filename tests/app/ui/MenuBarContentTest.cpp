#include "BrowserRowLabel.h"
#include "MenuBarContent.h"
#include "SettingsStore.h"
#include "support/CaptureStdout.h"
#include "support/FakePlatform.h"
#include "support/TempXdg.h"

#include <QMenu>
#include <QWidgetAction>

#include <gtest/gtest.h>

using namespace Tolvane;

namespace {

struct MenuFixture : ::testing::Test {
    TempXdg xdg;
    FakePlatform fakes;

    void SetUp() override {
        fakes.addApp("/apps/foo.desktop", "org.foo", {{"CFBundleName", "Foo"}, {"CFBundleShortVersionString", "1.2"},
                                                      {"CFBundleVersion", "345"}});
        fakes.addApp("/apps/b&r.desktop", "org.bar", {{"CFBundleName", "B&r"}});
    }

    static QStringList texts(QMenu* menu) {
        QStringList list;
        for (QAction* a : menu->actions())
            list << (a->isSeparator() ? QStringLiteral("---") : a->text());
        return list;
    }
};

} // namespace

TEST_F(MenuFixture, ItemsInOrderWithHeadingDisabledAndNoShortcuts) {
    MenuBarContent content;
    EXPECT_EQ(texts(content.menu()), (QStringList{"Quit", "Settings…", "Send Feedback", "About", "---",
                                                  "Change default browser to", "Foo", "B&&r", "---",
                                                  "Refresh list"}));
    for (QAction* a : content.menu()->actions()) {
        EXPECT_TRUE(a->shortcut().isEmpty());
        if (a->text() == "Change default browser to")
            EXPECT_FALSE(a->isEnabled());
    }
    ASSERT_EQ(content.browserActions().size(), 2);
    EXPECT_EQ(content.browserActions()[0]->data().toString(), content.browsers()[0].id());
}

TEST_F(MenuFixture, VersionSettingShowsOnlyAfterReloadOrSwitch) {
    MenuBarContent content(/*plainRows=*/true);
    SettingsStore::setBool(SettingsStore::showBrowserVersion, true);
    EXPECT_EQ(content.browserActions()[0]->text(), "Foo") << "the setting is not observed";

    content.reloadBrowsers();
    EXPECT_EQ(content.browserActions()[0]->text(), "Foo (1.2 345)");
    EXPECT_EQ(content.browserActions()[1]->text(), "B&&r ()");

    SettingsStore::setBool(SettingsStore::showBrowserVersion, false);
    content.browserActions()[1]->trigger();
    EXPECT_EQ(content.browserActions()[0]->text(), "Foo") << "a successful switch re-reads";
}

TEST_F(MenuFixture, RichRowsDrawTheVersionInTheCaptionFont) {
    SettingsStore::setBool(SettingsStore::showBrowserVersion, true);
    MenuBarContent content;
    auto* row = qobject_cast<QWidgetAction*>(content.browserActions()[0]);
    ASSERT_NE(row, nullptr);
    QWidget* widget = row->requestWidget(content.menu());
    auto* label = widget->findChild<BrowserRowLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->nameText(), "Foo");
    EXPECT_EQ(label->versionText(), "(1.2 345)");
    row->releaseWidget(widget);
}

TEST_F(MenuFixture, ChoosingARowSwitchesWithTheStoredAutoConfirmAndReloads) {
    MenuBarContent content;
    SettingsStore::setBool(SettingsStore::autoConfirmChange, false);
    fakes.addApp("/apps/new.desktop", "org.new", {{"CFBundleName", "New"}});
    content.browserActions()[0]->trigger();
    ASSERT_EQ(fakes.handlers->calls.size(), 1);
    EXPECT_EQ(fakes.handlers->calls[0].second, "org.foo");
    EXPECT_EQ(content.browsers().size(), 3) << "a newly installed browser shows after the switch";
    EXPECT_TRUE(fakes.scripts->sources.isEmpty());

    // Choosing the same (already default) row switches again.
    content.browserActions()[0]->trigger();
    EXPECT_EQ(fakes.handlers->calls.size(), 2);
}

TEST_F(MenuFixture, FailingSwitchPrintsOneLineAndKeepsTheList) {
    MenuBarContent content;
    fakes.handlers->status = -10814;
    fakes.addApp("/apps/new.desktop", "org.new", {{"CFBundleName", "New"}});
    const auto before = content.browsers();
    CaptureStdout out;
    content.browserActions()[1]->trigger();
    EXPECT_EQ(out.lines(), QStringList{"Error setting browser: couldNotSetDefaultBrowser"});
    EXPECT_EQ(content.browsers().size(), before.size());
    EXPECT_EQ(content.browserActions().size(), 2);
}

TEST_F(MenuFixture, NoBrowsersLeavesAnEmptySection) {
    fakes.workspace->applications.clear();
    MenuBarContent content;
    EXPECT_EQ(texts(content.menu()), (QStringList{"Quit", "Settings…", "Send Feedback", "About", "---",
                                                  "Change default browser to", "---", "Refresh list"}));
    fakes.addApp("/apps/new.desktop", "org.new", {{"CFBundleName", "New"}});
    content.menu()->actions().last()->trigger();
    EXPECT_EQ(content.browserActions().size(), 1) << "Refresh list re-reads the catalogue";
}
