// SPDX-License-Identifier: GPL-3.0-or-later
// Built-in styles, progress views and the trigger registry.
#include "FakeClock.h"

#include "TaskButtons/BarProgressView.h"
#include "TaskButtons/CircularProgressView.h"
#include "TaskButtons/IndeterminateProgressView.h"
#include "TaskButtons/LeadingAsyncButtonStyle.h"
#include "TaskButtons/OverlayAsyncButtonStyle.h"
#include "TaskButtons/PulseAsyncButtonStyle.h"
#include "TaskButtons/ShakeThrowableButtonStyle.h"
#include "TaskButtons/StyleViews.h"
#include "TaskButtons/TrailingAsyncButtonStyle.h"
#include "TaskButtons/TriggerButton.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QSequentialAnimationGroup>
#include <QVariantAnimation>

#include <gtest/gtest.h>

using namespace TaskButtons;
using namespace TaskButtonsTest;

namespace {

// Collects what the trigger registry logs.
struct LogCapture {
    struct Entry {
        QtMsgType type;
        QString category;
        QString text;
    };
    static inline std::vector<Entry> entries;
    QtMessageHandler previous;
    LogCapture() {
        entries.clear();
        previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
                entries.push_back({type, QString::fromUtf8(context.category), text});
            });
    }
    ~LogCapture() { qInstallMessageHandler(previous); }
};

} // namespace

TEST(PercentTextTest, WholePercentWithTiesToEven) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(percentText(0.125, english), "12%");
    EXPECT_EQ(percentText(0.135, english), "14%") << "13.5 → 14 (the even neighbour)";
    EXPECT_EQ(percentText(0.5, english), "50%");
    EXPECT_EQ(percentText(0.999, english), "100%");
    EXPECT_EQ(percentText(0.0, english), "0%");
}

TEST(PercentTextTest, UsesTheLocaleDigits) {
    const QLocale arabic(QLocale::Arabic, QLocale::Egypt);
    EXPECT_EQ(percentText(0.125, arabic), arabic.toString(12) + arabic.percent());
    EXPECT_NE(percentText(0.125, arabic), "12%");
}

TEST(ShakeTest, RestsAtWholeValuesAndSwingsBetween) {
    Shake shake{ShakeThrowableButtonStyle::amount, ShakeThrowableButtonStyle::shakesPerUnit, 0};
    for (int errors = 0; errors <= 5; ++errors) {
        shake.animatableData = errors;
        EXPECT_NEAR(shake.offset().x(), 0, 1e-9) << errors;
        EXPECT_EQ(shake.offset().y(), 0);
    }
    shake.animatableData = 0.125; // sin(π/2)
    EXPECT_NEAR(shake.offset().x(), 10, 1e-9);
    shake.animatableData = 1.375;
    EXPECT_NEAR(shake.offset().x(), -10, 1e-9);
}

TEST(ShakeViewTest, EachFailureShakesOnceAndComesToRest) {
    ButtonState state;
    auto* button = new QWidget;
    button->resize(80, 20);
    QWidget* view = ShakeThrowableButtonStyle().makeButton({button, 0, &state});
    auto* shakeView = qobject_cast<ShakeView*>(view);
    ASSERT_TRUE(shakeView);
    shakeView->resize(100, 20);
    const int rest = button->x();
    EXPECT_EQ(rest, 10) << "room for the shake on both sides";

    for (int failures = 1; failures <= 3; ++failures) {
        state.setErrorCount(failures);
        auto* animation = shakeView->animation();
        int furthest = 0;
        for (int t = 0; t <= animation->duration(); t += 5) {
            animation->setCurrentTime(t);
            furthest = std::max(furthest, std::abs(button->x() - rest));
        }
        EXPECT_GE(furthest, 8) << "failure " << failures << " shook";
        EXPECT_EQ(button->x(), rest) << "failure " << failures << " came to rest";
        EXPECT_EQ(shakeView->shake().animatableData, failures);
    }
    delete view;
}

TEST(ProgressViewTest, CircularRingIsInsetAndStartsEmpty) {
    CircularProgressView ring(0.25, 1);
    ring.resize(24, 24);
    EXPECT_EQ(ring.ringRect(), QRectF(4, 4, 16, 16)) << "2-point inset plus half the 4-point stroke";
    EXPECT_EQ(ring.arcFraction(), 0.25);
    ring.setValue(3);
    EXPECT_EQ(ring.arcFraction(), 1.0);
    ring.setTotal(0);
    EXPECT_EQ(ring.arcFraction(), 0.0) << "no total draws no arc rather than garbage";
    EXPECT_LE(ring.sizeHint().height(), 2 * ring.fontMetrics().height());
}

TEST(ProgressViewTest, BarAnimatesUpButJumpsBackToZero) {
    BarProgressView bar(0, 1);
    bar.setValue(0.5);
    EXPECT_LT(bar.displayedFraction(), 0.5) << "moving up is animated";
    auto* animation = bar.findChild<QVariantAnimation*>();
    ASSERT_TRUE(animation);
    animation->setCurrentTime(animation->duration());
    EXPECT_EQ(bar.displayedFraction(), 0.5);
    EXPECT_EQ(bar.bar()->value(), bar.bar()->maximum() / 2);
    bar.setValue(0);
    EXPECT_EQ(bar.displayedFraction(), 0.0) << "a reset is not animated";
}

TEST(OverlayStyleTest, HidesTheLabelUnderTheMatchingIndicator) {
    ButtonState state;
    auto* label = new QLabel("Submit");
    auto* view = qobject_cast<OverlayLabel*>(
        OverlayAsyncButtonStyle(ProgressStyle::bar).makeLabel({label, false, {}, {}, &state}));
    ASSERT_TRUE(view);
    EXPECT_EQ(view->labelFader()->targetOpacity(), 1.0);
    EXPECT_EQ(view->currentIndicator(), nullptr);

    state.setLoading(true);
    EXPECT_EQ(view->labelFader()->targetOpacity(), 0.0);
    EXPECT_TRUE(qobject_cast<IndeterminateProgressView*>(view->currentIndicator())) << "no fraction: spinner";

    state.setFractionCompleted(0.5);
    auto* bar = qobject_cast<BarProgressView*>(view->currentIndicator());
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->value(), 0.5);
    EXPECT_EQ(bar->total(), 1.0);

    state.setLoading(false);
    EXPECT_EQ(view->currentIndicator(), nullptr);
    EXPECT_EQ(view->labelFader()->targetOpacity(), 1.0);
    delete view;
}

TEST(OverlayStyleTest, PercentShowsWholePercentInTheWidgetLocale) {
    ButtonState state;
    auto* view = qobject_cast<OverlayLabel*>(
        OverlayAsyncButtonStyle(ProgressStyle::percent).makeLabel({new QLabel("Go"), false, {}, {}, &state}));
    ASSERT_TRUE(view);
    view->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    state.setLoading(true);
    state.setFractionCompleted(0.125);
    EXPECT_EQ(view->currentIndicator(), static_cast<QWidget*>(view->percent()));
    EXPECT_EQ(view->percent()->text(), "12%");
    state.setFractionCompleted(0.875);
    EXPECT_EQ(view->percent()->text(), "88%");
    delete view;
}

TEST(IndicatorStyleTest, LeadingAndTrailingPlaceTheIndicatorEightPointsFromTheLabel) {
    for (const bool leading : {true, false}) {
        ButtonState state;
        auto* label = new QLabel("Save");
        AsyncButtonStyleLabelConfiguration c{label, false, {}, {}, &state};
        QWidget* row =
            leading ? LeadingAsyncButtonStyle().makeLabel(c) : TrailingAsyncButtonStyle().makeLabel(c);
        auto* layout = qobject_cast<QHBoxLayout*>(row->layout());
        ASSERT_TRUE(layout);
        EXPECT_EQ(layout->spacing(), 8);
        auto* indicator = row->findChild<ProgressIndicator*>();
        ASSERT_TRUE(indicator);
        EXPECT_EQ(layout->indexOf(indicator), leading ? 0 : 1);
        EXPECT_EQ(layout->indexOf(label), leading ? 1 : 0);

        row->show();
        EXPECT_FALSE(indicator->isVisible()) << "nothing while idle";
        state.setLoading(true);
        EXPECT_TRUE(indicator->isVisible());
        EXPECT_TRUE(indicator->spinner()->isVisible());
        state.setFractionCompleted(0.3);
        EXPECT_TRUE(indicator->ring()->isVisible());
        EXPECT_EQ(indicator->ring()->value(), 0.3);
        EXPECT_EQ(indicator->ring()->total(), 1.0);
        state.setFractionCompleted(0.6);
        EXPECT_LT(indicator->ring()->value(), 0.6) << "the ring moves to a new fraction with an animation";
        indicator->ringAnimation()->setCurrentTime(indicator->ringAnimation()->duration());
        EXPECT_EQ(indicator->ring()->value(), 0.6);
        delete row;
    }
}

TEST(PulseStyleTest, PulsesBetweenFullAndHalfOnlyWhileLoading) {
    ButtonState state;
    auto* view =
        qobject_cast<PulseView*>(PulseAsyncButtonStyle().makeButton({new QWidget, false, {}, {}, &state}));
    ASSERT_TRUE(view);
    EXPECT_FALSE(view->isPulsing());
    EXPECT_EQ(view->opacity(), 1.0);

    state.setLoading(true);
    EXPECT_TRUE(view->isPulsing());
    auto* pulse = view->animation();
    EXPECT_EQ(pulse->loopCount(), -1);
    pulse->setCurrentTime(1000);
    EXPECT_DOUBLE_EQ(view->opacity(), 0.5);
    pulse->setCurrentTime(1500);
    EXPECT_DOUBLE_EQ(view->opacity(), 0.75);
    pulse->setCurrentTime(2000 + 500);
    EXPECT_DOUBLE_EQ(view->opacity(), 0.75);

    state.setLoading(false);
    EXPECT_FALSE(view->isPulsing());
    EXPECT_EQ(view->opacity(), 1.0);
    delete view;
}

TEST(TriggerButtonTest, LaterRegistrationWinsAndIsLogged) {
    LogCapture log;
    TriggerButton registry;
    int first = 0, second = 0;
    registry.registerButton("save", [&] { ++first; });
    EXPECT_TRUE(log.entries.empty());
    registry.registerButton("save", [&] { ++second; });
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].type, QtCriticalMsg);
    EXPECT_EQ(log.entries[0].category, "TaskButtons.Trigger");
    EXPECT_EQ(log.entries[0].text,
              "Registering a button with an already existing id: save. The previous one was overridden.");
    registry.trigger("save");
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
}

TEST(TriggerButtonTest, TriggeringAMissingButtonLogsAndRunsNothing) {
    LogCapture log;
    TriggerButton registry;
    int runs = 0;
    registry.registerButton("send", [&] { ++runs; });
    registry.removeButton("send");
    registry.trigger("send");
    EXPECT_EQ(runs, 0);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].type, QtCriticalMsg);
    EXPECT_EQ(log.entries[0].category, "TaskButtons.Trigger");
    EXPECT_EQ(log.entries[0].text, "Could not trigger button with id: send. It is not currently on screen!");
}

TEST(TriggerButtonTest, AnOwnerRemovesOnlyItsOwnEntry) {
    TriggerButton registry;
    int a = 0, b = 0;
    registry.registerButton(
        "x", [&] { ++a; }, &a);
    registry.registerButton(
        "x", [&] { ++b; }, &b);
    registry.removeButton("x", &a);
    registry.trigger("x");
    EXPECT_EQ(b, 1);
    registry.removeButton("x", &b);
    EXPECT_FALSE(registry.contains("x"));
}

TEST(TriggerButtonTest, AnActionMayRemoveItself) {
    TriggerButton registry;
    int runs = 0;
    registry.registerButton("once", [&] {
        ++runs;
        registry.removeButton("once");
    });
    registry.trigger("once");
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(registry.contains("once"));
}
