// SPDX-License-Identifier: GPL-3.0-or-later
#include "TolvaApp.h"
#include "AboutAction.h"
#include "app/ui/tray/FirstStartNotice.h"
#include "app/ui/tray/MenuBarContent.h"
#include "platform/fake/FakeLoginItemService.h"
#include "support/FakePlatform.h"
#include "support/TempXdg.h"

#include <AboutBox/AboutBoxPanel.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTest>

#include <gtest/gtest.h>

using namespace Tolvane;

namespace {

QList<AboutBox::AboutBoxPanel*> aboutPanels() {
    QList<AboutBox::AboutBoxPanel*> panels;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* panel = qobject_cast<AboutBox::AboutBoxPanel*>(w); panel && panel->isVisible())
            panels << panel;
    return panels;
}

QAction* menuAction(TolvaApp& app, const QString& text) {
    for (QAction* a : app.menuContent()->menu()->actions())
        if (a->text() == text)
            return a;
    return nullptr;
}

struct AppFixture : ::testing::Test {
    TempXdg xdg;
    FakePlatform fakes;
    // The settings window hosts the launch-at-login switch.
    platform::Override<platform::LoginItemService> loginItems{
        std::make_shared<platform::fake::FakeLoginItemService>()};
    void SetUp() override {
        fakes.mainBundle->info = {{"CFBundleDisplayName", "Tolvane"},
                                  {"CFBundleName", "Tolvane"},
                                  {"CFBundleShortVersionString", "2.1"},
                                  {"CFBundleVersion", "45"},
                                  {"NSHumanReadableCopyright", "© Tolvane"}};
    }
};

} // namespace

TEST_F(AppFixture, AboutOpensANewFilledPanelEachTime) {
    TolvaApp app;
    const auto before = aboutPanels().size();
    menuAction(app, "About")->trigger();
    menuAction(app, "About")->trigger();
    const auto panels = aboutPanels();
    ASSERT_EQ(panels.size(), before + 2);

    const auto metadata = aboutMetadata();
    EXPECT_EQ(metadata.name, "Tolvane");
    EXPECT_EQ(metadata.versionText, "Version 2.1");
    EXPECT_EQ(metadata.altVersionText, "Version 2.1 (45)");
    EXPECT_EQ(metadata.copyrightText, "© Tolvane");
    EXPECT_EQ(metadata.url, QUrl("https://tolvane.app"));
    EXPECT_EQ(metadata.iconSize, 80);
    EXPECT_EQ(metadata.urlColor, QColor("#2f6fdf")) << "the AccentColor asset";
    EXPECT_FALSE(metadata.icon.isNull());

    QPointer<QWidget> first = panels.last();
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull()) << "a closed panel is freed";
    for (auto* p : aboutPanels())
        p->close();
}

TEST_F(AppFixture, FeedbackAndSettingsWindowsExistOnce) {
    TolvaApp app;
    menuAction(app, "Send Feedback")->trigger();
    QWidget* feedback = app.feedbackScene().window();
    ASSERT_NE(feedback, nullptr);
    EXPECT_EQ(feedback->objectName(), "com.tellwick.sendFeedback");
    EXPECT_EQ(feedback->windowTitle(), "Send Feedback");
    menuAction(app, "Send Feedback")->trigger();
    EXPECT_EQ(app.feedbackScene().window(), feedback);

    menuAction(app, "Settings…")->trigger();
    QWidget* settings = app.settingsScene().window();
    ASSERT_NE(settings, nullptr);
    menuAction(app, "Settings…")->trigger();
    EXPECT_EQ(app.settingsScene().window(), settings);

    // Screen readers announce both as windows (frames), named by their titles, not as "filler".
    for (QWidget* window : {feedback, settings}) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(window);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->role(), QAccessible::Window) << window->windowTitle().toStdString();
        EXPECT_EQ(face->text(QAccessible::Name), window->windowTitle());
    }
    settings->close();
    feedback->close();
}

TEST_F(AppFixture, TrayCarriesTheMenuAndTheDisplayName) {
    TolvaApp app;
    EXPECT_EQ(app.trayIcon()->contextMenu(), app.menuContent()->menu());
    EXPECT_EQ(app.trayIcon()->toolTip(), "Tolvane");
    EXPECT_FALSE(app.trayIcon()->icon().isNull()) << "the \"browser\" image";
}

TEST_F(AppFixture, WarningSignWhenTheBundleHasNoName) {
    fakes.mainBundle->info.clear();
    TolvaApp app;
    EXPECT_EQ(app.trayIcon()->toolTip(), "⚠️");
}

TEST_F(AppFixture, WithoutATrayTheUserStartGetsTheMenuInAWindowAndTheLoginStartWaits) {
    using namespace std::chrono_literals;
    // The offscreen platform has no tray host.
    TolvaApp atLogin(/*startedAtLogin=*/true, 0ms);
    TolvaApp byUser(/*startedAtLogin=*/false, 0ms);
    QCoreApplication::processEvents();
    EXPECT_EQ(atLogin.noTrayScene().window(), nullptr);
    QWidget* window = byUser.noTrayScene().window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Tolvane");

    QStringList entries;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (auto* button = qobject_cast<QPushButton*>(w))
            entries << button->text();
        else if (auto* label = qobject_cast<QLabel*>(w))
            entries << label->text();
    }
    QStringList menu;
    for (QAction* a : byUser.menuContent()->menu()->actions())
        if (!a->isSeparator())
            menu << a->text();
    ASSERT_FALSE(entries.isEmpty());
    EXPECT_TRUE(entries.takeFirst().contains("no tray icons"));
    EXPECT_EQ(entries, menu) << "every entry of the menu, in its order";

    // A second start while it waits at login brings the window up too: the user asked for it.
    atLogin.activate();
    ASSERT_NE(atLogin.noTrayScene().window(), nullptr);
    EXPECT_TRUE(atLogin.noTrayScene().window()->isVisible());
}

// The hook runs whenever the icon goes into a tray; only the very first time says where Tolvane went.
TEST_F(AppFixture, TheFirstTimeInATrayANotificationSaysWhereTolvaneWent) {
    announceTrayOnce();
    announceTrayOnce(); // a panel restarted
    ASSERT_EQ(fakes.notifications->shown.size(), 1);
    EXPECT_EQ(fakes.notifications->shown[0].first, "Tolvane is in the panel's tray");
    EXPECT_EQ(fakes.notifications->shown[0].second,
              "Click its icon to choose the default browser, or to open its settings.");

    // Started again another day: nothing more.
    const auto nextRun = std::make_shared<platform::fake::FakeNotifications>();
    platform::Override<platform::Notifications> guard{nextRun};
    announceTrayOnce();
    EXPECT_TRUE(nextRun->shown.isEmpty());
}
