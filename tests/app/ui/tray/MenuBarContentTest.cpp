// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/tray/MenuBarContent.h"
#include "SettingsStore.h"
#include "app/ui/settings/BrowserRowLabel.h"
#include "support/CaptureStdout.h"
#include "support/FakePlatform.h"
#include "support/TempXdg.h"

#include <QMenu>
#include <QTest>
#include <QWidgetAction>

#include <gtest/gtest.h>

using namespace Tolvane;

namespace {

struct MenuFixture : ::testing::Test {
    TempXdg xdg;
    FakePlatform fakes;

    void SetUp() override {
        fakes.addApp(
            "/apps/foo.desktop", "org.foo",
            {{"CFBundleName", "Foo"}, {"CFBundleShortVersionString", "1.2"}, {"CFBundleVersion", "345"}});
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
    EXPECT_EQ(texts(content.menu()),
              (QStringList{"Quit", "Settings…", "Send Feedback", "About", "---", "Change default browser to",
                           "Foo", "B&&r", "---", "Refresh list"}));
    for (QAction* a : content.menu()->actions()) {
        EXPECT_TRUE(a->shortcut().isEmpty());
        if (a->text() == "Change default browser to") {
            EXPECT_FALSE(a->isEnabled());
        }
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
    EXPECT_EQ(content.browserActions()[1]->text(), "B&&r") << "no version known: the name alone";

    SettingsStore::setBool(SettingsStore::showBrowserVersion, false);
    content.browserActions()[1]->trigger();
    EXPECT_EQ(content.browserActions()[0]->text(), "Foo") << "a successful switch re-reads";
}

TEST_F(MenuFixture, RichRowsWhereWeDrawTheMenuPlainTextWhereTheHostDoes) {
    SettingsStore::setBool(SettingsStore::showBrowserVersion, true);
    MenuBarContent rich;
    auto* row = qobject_cast<QWidgetAction*>(rich.browserActions()[0]);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->text(), "Foo (1.2 345)") << "the exported text of the same row";
    QFont base;
    base.setPointSizeF(10);
    EXPECT_LT(BrowserRowLabel::captionFont(base).pointSizeF(), 10);

    MenuBarContent plain(/*plainRows=*/true);
    EXPECT_EQ(qobject_cast<QWidgetAction*>(plain.browserActions()[0]), nullptr);
    EXPECT_EQ(plain.browserActions()[0]->text(), "Foo (1.2 345)");
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
    // A tray user never sees that line: the desktop shows why.
    using Shown = QPair<QString, QString>;
    EXPECT_EQ(fakes.notifications->shown,
              (QList<Shown>{{"Could not make " + before[1].appName + " the default browser",
                             "The browser is no longer installed."}}));
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

TEST_F(MenuFixture, HoveredRichRowIsHighlightedWithTheHighlightedTextColour) {
    SettingsStore::setBool(SettingsStore::showBrowserVersion, true);
    MenuBarContent content;
    content.menu()->popup(QPoint(0, 0));
    QWidget* row = nullptr;
    for (QWidget* child : content.menu()->findChildren<QWidget*>())
        if (child->accessibleName() == "Foo (1.2 345)")
            row = child;
    ASSERT_NE(row, nullptr);

    const QPalette palette = row->palette();
    auto count = [&](const QImage& image, const QColor& color) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, y) == color;
        return n;
    };
    QImage idle = row->grab().toImage();
    EXPECT_EQ(count(idle, palette.color(QPalette::Highlight)), 0);

    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(row, &enter);
    QImage hovered = row->grab().toImage();
    EXPECT_GT(count(hovered, palette.color(QPalette::Highlight)), hovered.width() * hovered.height() / 2);
    // Text pixels (anti-aliased) lie nearer the highlighted-text colour than the highlight itself.
    auto distance = [](const QColor& a, const QColor& b) {
        return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
    };
    int textPixels = 0;
    for (int y = 0; y < hovered.height(); ++y)
        for (int x = 0; x < hovered.width(); ++x) {
            const QColor c = hovered.pixelColor(x, y);
            textPixels += distance(c, palette.color(QPalette::HighlightedText)) <
                          distance(c, palette.color(QPalette::Highlight)) / 2;
        }
    EXPECT_GT(textPixels, 20) << "text must stay readable on the highlight";
    content.menu()->hide();
}
