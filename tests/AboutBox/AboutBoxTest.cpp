// SPDX-License-Identifier: GPL-3.0-or-later
#include "AboutBox/AboutBoxPanel.h"
#include "AboutBox/AboutBoxView.h"
#include "AboutBox/AppMetadata.h"
#include "platform/Services.h"
#include "platform/fake/FakeMainBundle.h"
#include "platform/fake/FakeWorkspace.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

using namespace AboutBox;

namespace {

QIcon redIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    return QIcon(pixmap);
}

AppMetadata metadata(std::optional<QUrl> url = QUrl("https://tolvane.app/apps")) {
    return AppMetadata{redIcon(),          80,  "Tolvane",        "Version 2.1",
                       "Version 2.1 (45)", url, QColor(Qt::blue), "Copyright © 2026 Someone"};
}

// The view's visible parts, top to bottom.
QStringList partsInOrder(AboutBoxView& view) {
    view.show();
    QList<QWidget*> parts;
    for (QWidget* child : view.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisible())
            parts << child;
    std::sort(parts.begin(), parts.end(), [](QWidget* a, QWidget* b) { return a->y() < b->y(); });
    QStringList names;
    for (QWidget* part : parts)
        names << part->objectName();
    return names;
}

struct Fakes {
    std::shared_ptr<platform::fake::FakeWorkspace> workspace =
        std::make_shared<platform::fake::FakeWorkspace>();
    std::shared_ptr<platform::fake::FakeMainBundle> bundle =
        std::make_shared<platform::fake::FakeMainBundle>();
    platform::Override<platform::Workspace> o1{workspace};
    platform::Override<platform::MainBundle> o2{bundle};
};

} // namespace

TEST(AboutBoxLookups, ReadTheBundleAndGiveNothingForMissingKeys) {
    Fakes fakes;
    EXPECT_FALSE(bundleName());
    EXPECT_FALSE(bundleVersionText());
    EXPECT_FALSE(bundleAltVersionText());
    EXPECT_FALSE(bundleCopyrightText());

    fakes.bundle->info = {{"CFBundleName", "Tolvane"},
                          {"CFBundleShortVersionString", "2.1"},
                          {"NSHumanReadableCopyright", "© Someone"}};
    EXPECT_EQ(bundleName(), "Tolvane");
    EXPECT_EQ(bundleVersionText(), "Version 2.1");
    EXPECT_FALSE(bundleAltVersionText()) << "no build, no long form";
    EXPECT_EQ(bundleCopyrightText(), "© Someone");

    fakes.bundle->info["CFBundleVersion"] = 45; // a number is shown in decimal
    EXPECT_EQ(bundleAltVersionText(), "Version 2.1 (45)");

    fakes.bundle->info.remove("CFBundleShortVersionString");
    EXPECT_FALSE(bundleAltVersionText()) << "no version, no long form";

    fakes.bundle->info["CFBundleName"] = 7; // only text counts as a name
    fakes.bundle->info["NSHumanReadableCopyright"] = 2026;
    EXPECT_FALSE(bundleName());
    EXPECT_FALSE(bundleCopyrightText());
}

TEST(AboutBoxLinkText, HostAndPathOrTheWholeUrl) {
    EXPECT_EQ(linkText(QUrl("https://tolvane.app/apps")), "tolvane.app/apps");
    EXPECT_EQ(linkText(QUrl("https://tolvane.app")), "tolvane.app");
    EXPECT_EQ(linkText(QUrl("https://tolvane.app/a/b?q=1#top")), "tolvane.app/a/b");
    EXPECT_EQ(linkText(QUrl("mailto:hello@tolvane.app")), "mailto:hello@tolvane.app");
    EXPECT_EQ(linkText(QUrl("file:///usr/share/doc")), "file:///usr/share/doc");
}

TEST(AboutBoxView, ShowsTheRecordTopToBottomWithTheLinkBetweenVersionAndCopyright) {
    Fakes fakes;
    AboutBoxView view(metadata());
    EXPECT_EQ(partsInOrder(view), (QStringList{"icon", "name", "version", "link", "copyright"}));

    auto* icon = view.findChild<QLabel*>("icon");
    EXPECT_EQ(icon->size(), QSize(80, 80));
    EXPECT_EQ(icon->accessibleName(), "Tolvane");
    EXPECT_EQ(icon->pixmap().size(), QSize(80, 80)) << "a small icon is stretched to the square";
    EXPECT_EQ(icon->pixmap().toImage().pixelColor(70, 70), QColor(Qt::red));

    auto* name = view.findChild<QLabel*>("name");
    EXPECT_EQ(name->text(), "Tolvane");
    EXPECT_TRUE(name->font().bold());
    EXPECT_GT(name->font().pointSizeF(), view.font().pointSizeF());

    EXPECT_EQ(view.findChild<QPushButton*>("version")->text(), "Version 2.1");
    auto* link = view.findChild<QPushButton*>("link");
    EXPECT_EQ(link->text(), "tolvane.app/apps");
    EXPECT_EQ(link->palette().color(QPalette::ButtonText), QColor(Qt::blue));
    EXPECT_TRUE(link->isFlat());

    auto* copyright = view.findChild<QLabel*>("copyright");
    EXPECT_EQ(copyright->text(), "Copyright © 2026 Someone");
    EXPECT_LT(copyright->font().pointSizeF(), view.font().pointSizeF());
}

TEST(AboutBoxView, NoLinkLineWithoutUrl) {
    Fakes fakes;
    AboutBoxView view(metadata(std::nullopt));
    EXPECT_EQ(partsInOrder(view), (QStringList{"icon", "name", "version", "copyright"}));
    EXPECT_EQ(view.findChild<QPushButton*>("link"), nullptr);
}

TEST(AboutBoxView, TextsAreNeverReadAsMarkup) {
    Fakes fakes;
    AppMetadata record = metadata();
    record.name = "<b>x</b>";
    AboutBoxView view(record);
    EXPECT_EQ(view.findChild<QLabel*>("name")->textFormat(), Qt::PlainText);
    EXPECT_EQ(view.findChild<QLabel*>("copyright")->textFormat(), Qt::PlainText);
}

TEST(AboutBoxView, EachClickOnTheVersionLineSwitchesItsForm) {
    Fakes fakes;
    AboutBoxPanel first(metadata());
    AboutBoxPanel second(metadata());
    first.show();
    auto* version = first.findChild<QPushButton*>("version");

    QTest::mouseClick(version, Qt::LeftButton);
    EXPECT_EQ(version->text(), "Version 2.1 (45)");
    EXPECT_EQ(second.findChild<QPushButton*>("version")->text(), "Version 2.1")
        << "each panel has its own flag";

    QTest::mouseClick(version, Qt::LeftButton);
    EXPECT_EQ(version->text(), "Version 2.1");
    QTest::mouseClick(version, Qt::LeftButton);
    EXPECT_EQ(version->text(), "Version 2.1 (45)");
    EXPECT_TRUE(fakes.workspace->openedURLs.isEmpty());
}

TEST(AboutBoxView, LinkOpensTheUrlAndThePanelStaysOpen) {
    Fakes fakes;
    fakes.workspace->openResult = false; // a failed open still leaves the panel as it was
    AboutBoxPanel panel(metadata(QUrl("https://tolvane.app/apps?from=about")));
    panel.show();
    QTest::mouseClick(panel.findChild<QPushButton*>("link"), Qt::LeftButton);
    ASSERT_EQ(fakes.workspace->openedURLs.size(), 1);
    EXPECT_EQ(fakes.workspace->openedURLs[0], QUrl("https://tolvane.app/apps?from=about"));
    EXPECT_TRUE(panel.isVisible());
}

TEST(AboutBoxPanel, IsAClosableResizableToolWindowThatCannotBeMinimised) {
    Fakes fakes;
    AboutBoxPanel panel(metadata());
    const Qt::WindowFlags flags = panel.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(panel.aboutViewController()->metadata().name, "Tolvane");
    EXPECT_EQ(panel.aboutViewController()->view()->window(), &panel);
}

TEST(AboutBoxPanel, SizeStaysWithinTheViewLimits) {
    Fakes fakes;
    AboutBoxPanel panel(metadata());
    panel.show();
    EXPECT_EQ(panel.size(), QSize(350, 220)) << "the ideal size while the content fits";

    panel.resize(2000, 2000);
    EXPECT_EQ(panel.size(), QSize(450, 500));
    panel.resize(10, 10);
    EXPECT_EQ(panel.size(), QSize(350, 200));
    EXPECT_EQ(panel.aboutViewController()->view()->size(), QSize(350, 200));
}

TEST(AboutBoxPanel, TopLeftAtTheMiddleOfThePrimaryScreensTopEdge) {
    Fakes fakes;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    AboutBoxPanel panel(metadata());
    panel.show();
    EXPECT_EQ(panel.frameGeometry().topLeft(), QPoint(screen.x() + screen.width() / 2, screen.y()));

    panel.placeOn(nullptr);
    const QPoint offset = panel.frameGeometry().center() - screen.center();
    EXPECT_LE(offset.manhattanLength(), 2) << "centred up to rounding";
}

TEST(AboutBoxPanel, PlacementKeepsThePanelReachable) {
    const QRect wide(0, 0, 1920, 1080);
    EXPECT_EQ(AboutBoxPanel::topLeftOn(wide, wide, QSize(350, 250)), QPoint(960, 0));
    const QRect right(1920, 0, 1280, 1024); // a second monitor to the right
    EXPECT_EQ(AboutBoxPanel::topLeftOn(right, right, QSize(350, 250)), QPoint(2560, 0));
    // A top bar takes 32 points; a narrow screen moves the panel left just enough to fit.
    EXPECT_EQ(AboutBoxPanel::topLeftOn(QRect(0, 0, 600, 800), QRect(0, 32, 600, 768), QSize(450, 250)),
              QPoint(150, 32));
}

TEST(AboutBoxPanel, EveryPanelIsNewAndAClosedOneIsFreed) {
    Fakes fakes;
    QPointer<AboutBoxPanel> first = new AboutBoxPanel(metadata());
    QPointer<AboutBoxPanel> second = new AboutBoxPanel(metadata());
    first->show();
    second->show();
    EXPECT_NE(first, second);

    QPointer<AboutBoxView> view = first->aboutViewController()->view();
    // Escape closes it, as it closes the desktop's other small windows.
    QTest::keyClick(view, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(view.isNull());
    ASSERT_FALSE(second.isNull());
    EXPECT_TRUE(second->isVisible());
    delete second;
}
