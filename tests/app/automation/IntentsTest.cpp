// SPDX-License-Identifier: GPL-3.0-or-later
// The entity, query and intents in-process, over the platform fakes.
#include "BrowserEntityQuery.h"
#include "IntentLog.h"
#include "SettingsStore.h"
#include "TolvaFocusFilterIntent.h"
#include "TolvaSetBrowserIntent.h"
#include "support/CaptureStdout.h"
#include "support/FakePlatform.h"
#include "support/LogCapture.h"
#include "support/TempXdg.h"

#include <QCoreApplication>
#include <QImage>
#include <QLoggingCategory>
#include <QMutex>
#include <QPixmap>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <atomic>

using namespace Tolvane;

namespace {

struct Fixture {
    TempXdg xdg;
    FakePlatform fakes;

    QUrl add(const QString& name, const QString& version) {
        return fakes.addApp("/apps/" + name + ".desktop", "org.example." + name.toLower(),
                            {{"CFBundleName", name}, {"CFBundleShortVersionString", version}});
    }
    QString idOf(const QString& name, const QString& version) {
        return "org.example." + name.toLower() + ":" + version + ":file:///apps/" + name + ".desktop";
    }
};

TEST(FocusFilterSuggestion, OneBrowserIsAlwaysSuggestedAndAnEmptyCatalogueSuggestsNothing) {
    Fixture f;
    EXPECT_TRUE(TolvaFocusFilterIntent::suggestedFocusFilters().isEmpty());
    f.add("Solo", "1");
    for (int i = 0; i < 20; ++i) {
        const auto filters = TolvaFocusFilterIntent::suggestedFocusFilters();
        ASSERT_EQ(filters.size(), 1);
        ASSERT_TRUE(filters[0].browser.has_value());
        EXPECT_EQ(filters[0].browser->id, f.idOf("Solo", "1"));
    }
}

TEST(FocusFilterSuggestion, EveryBrowserCanBeSuggested) {
    Fixture f;
    f.add("A", "1");
    f.add("B", "1");
    f.add("C", "1");
    QSet<QString> seen;
    QRandomGenerator random(7);
    for (int i = 0; i < 300; ++i)
        seen << TolvaFocusFilterIntent::suggestedFocusFilters(&random).value(0).browser->id;
    EXPECT_EQ(seen, (QSet<QString>{f.idOf("A", "1"), f.idOf("B", "1"), f.idOf("C", "1")}));
}

TEST(FocusFilterDisplay, ShowsTheBrowserNameOrNoneSelected) {
    TolvaFocusFilterIntent filter;
    EXPECT_EQ(filter.displayRepresentation().title, "Browser: none selected");
    EXPECT_EQ(filter.displayRepresentation().subtitle, "Change default browser");
    filter.browser = BrowserEntity{"id", "Web (2)", "The Web browser", {}};
    EXPECT_EQ(filter.displayRepresentation().title, "Web (2)");
    EXPECT_EQ(filter.displayRepresentation().subtitle, "Change default browser");
}

TEST(BrowserEntity, NameFollowsTheVersionSettingSubtitleNeverDoes) {
    Fixture f;
    f.add("Web", "4.2");
    EXPECT_EQ(BrowserEntityQuery().suggestedEntities().value(0).displayName, "Web");
    ASSERT_TRUE(SettingsStore::setBool(SettingsStore::showBrowserVersion, true));
    const BrowserEntity entity = BrowserEntityQuery().suggestedEntities().value(0);
    EXPECT_EQ(entity.displayName, "Web (4.2)");
    EXPECT_EQ(entity.displaySubtitle, "The Web browser");
    EXPECT_EQ(entity.id, f.idOf("Web", "4.2"));
    EXPECT_EQ(entity.displayRepresentation().title, "Web (4.2)");
    EXPECT_TRUE(entity.displayRepresentation().subtitle.isEmpty());
}

TEST(BrowserEntity, IconlessBrowserStillBecomesAnEntity) {
    Fixture f;
    f.add("Plain", "1");
    const auto entities = BrowserEntityQuery().suggestedEntities();
    ASSERT_EQ(entities.size(), 1);
    EXPECT_TRUE(entities[0].image.isEmpty());
}

TEST(BrowserEntity, IconMadeOffTheGuiThreadIsDrawnOnIt) {
    Fixture f;
    const QUrl url = f.add("Drawn", "1");
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::red);
    f.fakes.workspace->icons.insert(url.toLocalFile(), QIcon(QPixmap::fromImage(image)));

    LogCapture log(nullptr, "app.tolvane.*.debug=true");
    std::atomic<bool> done = false;
    QList<BrowserEntity> entities;
    QThreadPool::globalInstance()->start([&] {
        entities = BrowserEntityQuery().suggestedEntities();
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_EQ(entities.size(), 1);
    QImage drawn;
    ASSERT_TRUE(drawn.loadFromData(entities[0].image, "PNG"));
    EXPECT_EQ(drawn.pixelColor(5, 5), QColor(Qt::red));
    for (const QString& line : log.lines())
        EXPECT_FALSE(line.contains("pixmap", Qt::CaseInsensitive)) << qPrintable(line);
}

TEST(SetBrowserIntent, SwitchesWithoutConfirmationWhenTheSettingIsAbsentAndEveryRunSwitches) {
    Fixture f;
    f.add("One", "1");
    f.add("Two", "2");
    CaptureStdout out;
    TolvaSetBrowserIntent intent;
    intent.browser = BrowserEntity{f.idOf("Two", "2"), {}, {}, {}};
    intent.perform();
    intent.perform();
    QThreadPool::globalInstance()->waitForDone();
    EXPECT_EQ(f.fakes.handlers->calls.size(), 2);
    EXPECT_EQ(f.fakes.handlers->calls.value(1), (QPair<QString, QString>{"http", "org.example.two"}));
    EXPECT_TRUE(f.fakes.scripts->sources.isEmpty());
    EXPECT_EQ(out.lines(), (QStringList{"Setting default browser to " + f.idOf("Two", "2"),
                                        "Setting default browser to " + f.idOf("Two", "2")}));
}

TEST(SetBrowserIntent, LogsUnderTheAppIdentifierAndItsCategory) {
    Fixture f;
    LogCapture log(nullptr, "app.tolvane.*.debug=true");
    TolvaSetBrowserIntent().perform();
    TolvaFocusFilterIntent().perform();
    const int debug = int(QtDebugMsg);
    EXPECT_EQ(log.lines(),
              (QStringList{
                  QStringLiteral("app.tolvane.Tolvane.TolvaSetBrowserIntent|%1|Perform called").arg(debug),
                  QStringLiteral("app.tolvane.Tolvane.TolvaSetBrowserIntent|%1|No default browser selected")
                      .arg(debug),
                  QStringLiteral("app.tolvane.Tolvane.TolvaFocusFilterIntent|%1|Perform called").arg(debug),
                  QStringLiteral("app.tolvane.Tolvane.TolvaFocusFilterIntent|%1|No default browser selected")
                      .arg(debug),
              }));
    EXPECT_TRUE(f.fakes.handlers->calls.isEmpty());

    f.fakes.mainBundle->identifier = "org.other.App";
    EXPECT_EQ(intentLogCategoryName("TolvaFocusFilterIntent"), "org.other.App.TolvaFocusFilterIntent");
    f.fakes.mainBundle->identifier.clear();
    EXPECT_EQ(intentLogCategoryName("TolvaFocusFilterIntent"), "app.tolvane.Tolvane.TolvaFocusFilterIntent");
}

TEST(FocusFilterIntent, SwitchesFromAWorkerThread) {
    Fixture f;
    f.add("Web", "1");
    CaptureStdout out;
    TolvaFocusFilterIntent filter;
    filter.browser = BrowserEntity{f.idOf("Web", "1"), {}, {}, {}};
    std::atomic<bool> done = false;
    QThreadPool::globalInstance()->start([&] {
        filter.perform();
        done = true;
    });
    QThreadPool::globalInstance()->waitForDone();
    EXPECT_TRUE(done);
    EXPECT_EQ(f.fakes.handlers->calls, (QList<QPair<QString, QString>>{{"http", "org.example.web"}}));
    EXPECT_EQ(out.lines(), QStringList{"Setting default browser to " + f.idOf("Web", "1")});
}

} // namespace
