// SPDX-License-Identifier: GPL-3.0-or-later
// Progress kinds and cancellable sleeps.
#include "FakeClock.h"

#include "TaskButtons/DiscreteProgress.h"
#include "TaskButtons/EstimatedProgress.h"
#include "TaskButtons/IndeterminateProgress.h"
#include "TaskButtons/NSProgressBridge.h"

#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

using namespace TaskButtons;
using namespace TaskButtonsTest;

namespace {

struct Estimate {
    FakeClock clock;
    std::unique_ptr<EstimatedProgress> owned = std::make_unique<EstimatedProgress>(
        std::make_shared<FakeSleeper>(&clock, 1s), std::make_shared<FakeSleeper>(&clock, 100ms));
    EstimatedProgress& progress = *owned;
    // Let cancelled sleeps finish while the clock still exists.
    ~Estimate() {
        owned.reset();
        drain();
    }
};

double fraction(const TaskProgress& p) {
    return p.fractionCompleted().value_or(-1);
}

} // namespace

TEST(DiscreteProgressTest, ReportsCompletedShareAndResetsToZero) {
    DiscreteProgress progress(4);
    int changes = 0;
    QObject::connect(&progress, &TaskProgress::fractionCompletedChanged, [&] { ++changes; });
    EXPECT_EQ(progress.fractionCompleted(), 0.0);
    progress.setCompletedUnitCount(3);
    EXPECT_EQ(progress.fractionCompleted(), 0.75);
    progress.resetProgress();
    EXPECT_EQ(progress.fractionCompleted(), 0.0);
    EXPECT_EQ(changes, 2);
}

TEST(IndeterminateProgressTest, NeverHasAFraction) {
    IndeterminateProgress progress;
    progress.resetProgress();
    EXPECT_FALSE(progress.fractionCompleted());
}

TEST(EstimatedProgressTest, RisesInStepsToTheStopAndWaitsThere) {
    Estimate e;
    e.progress.resetProgress();
    auto begun = e.progress.beginTask();
    drain();
    EXPECT_TRUE(begun.isReady()) << "beginTask returns at once";
    EXPECT_EQ(fraction(e.progress), 0.0);

    e.clock.advance(8500us);
    EXPECT_NEAR(fraction(e.progress), 0.0085, 1e-12);
    e.clock.advance(8499us);
    EXPECT_NEAR(fraction(e.progress), 0.0085, 1e-12) << "one step per 0.85 % of the estimate";

    e.clock.advance(850ms - 8500us - 8499us); // 0.85 s in total
    EXPECT_NEAR(fraction(e.progress), 0.85, 1e-9);

    e.clock.advance(10s);
    EXPECT_NEAR(fraction(e.progress), 0.85, 1e-9) << "stays at the stop while the action runs on";
}

TEST(EstimatedProgressTest, EndJumpsToFullAndReturnsAfterTheSettlePause) {
    Estimate e;
    e.progress.resetProgress();
    auto begun = e.progress.beginTask();
    e.clock.advance(100ms);
    EXPECT_NEAR(fraction(e.progress), 0.1, 0.0085 + 1e-9);

    bool ended = false;
    QCoro::connect(e.progress.endTask(), &e.clock, [&] { ended = true; });
    EXPECT_EQ(fraction(e.progress), 1.0) << "full even though the estimate was still rising";
    e.clock.advance(99ms);
    EXPECT_FALSE(ended);
    e.clock.advance(1ms);
    EXPECT_TRUE(ended);

    e.clock.advance(5s);
    EXPECT_EQ(fraction(e.progress), 1.0) << "the estimating task stopped";
    EXPECT_FALSE(e.progress.isEstimating());
}

TEST(EstimatedProgressTest, NextRunStartsAgainFromZero) {
    Estimate e;
    auto first = e.progress.beginTask();
    e.clock.advance(300ms);
    auto end = e.progress.endTask();
    e.clock.advance(100ms);
    e.progress.resetProgress();
    EXPECT_EQ(fraction(e.progress), 0.0);
    auto second = e.progress.beginTask();
    e.clock.advance(17ms);
    EXPECT_NEAR(fraction(e.progress), 0.017, 1e-12);
}

TEST(EstimatedProgressTest, DestroyedWhileEstimatingLeavesNothingRunning) {
    FakeClock clock;
    {
        EstimatedProgress progress(std::make_shared<FakeSleeper>(&clock, 1s),
                                   std::make_shared<FakeSleeper>(&clock, 100ms));
        auto begun = progress.beginTask();
        clock.advance(20ms);
    }
    clock.advance(2s);
    EXPECT_TRUE(clock.deadlines.empty());
}

TEST(EstimatedProgressTest, ConvenienceFormsUseRealSleepersOfTheEstimate) {
    EstimatedProgress fromUnsigned(std::uint64_t{2'000'000'000});
    EstimatedProgress fromSigned(std::int64_t{2'000'000'000});
    EstimatedProgress fromDuration(std::chrono::seconds(2));
    EXPECT_EQ(dynamic_cast<const NanosecondsSleeper&>(fromUnsigned.sleeper()).duration, 2'000'000'000u);
    EXPECT_EQ(dynamic_cast<const NanosecondsSleeper&>(fromSigned.sleeper()).duration, 2'000'000'000u);
    EXPECT_EQ(dynamic_cast<const DurationSleeper&>(fromDuration.sleeper()).duration, 2s);
}

TEST(SleepTest, CancellingTheTokenEndsALongSleepAtOnce) {
    CancellationToken token;
    std::optional<bool> result;
    QObject context;
    QCoro::connect(sleepFor(std::chrono::hours(1), token), &context, [&](bool slept) { result = slept; });
    token.cancel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 2000));
    EXPECT_FALSE(*result);
}

TEST(SleepTest, AnUncancelledSleepEnds) {
    std::optional<bool> result;
    QObject context;
    QCoro::connect(sleepFor(1ms, CancellationToken()), &context, [&](bool slept) { result = slept; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 5000));
    EXPECT_TRUE(*result);
}

TEST(SleepTest, AnAlreadyCancelledTokenDoesNotSleep) {
    CancellationToken token;
    token.cancel();
    auto sleep = NanosecondsSleeper(std::uint64_t{3'600'000'000'000}).sleep(1.0, token);
    EXPECT_TRUE(sleep.isReady());
}

TEST(NSProgressBridgeTest, FollowsFractionAndIndeterminacyOnTheMainThread) {
    NSProgressBridge bridge;
    EXPECT_FALSE(bridge.fractionCompleted());
    auto progress = std::make_shared<Progress>(10);
    progress->setCompletedUnitCount(4);
    bridge.setNsProgress(progress);
    EXPECT_FALSE(bridge.fractionCompleted()) << "updates arrive through the event loop";
    drain();
    EXPECT_EQ(bridge.fractionCompleted(), 0.4) << "the current state is delivered at once";

    QThread* seenOn = nullptr;
    QObject::connect(&bridge, &TaskProgress::fractionCompletedChanged,
                     [&] { seenOn = QThread::currentThread(); });
    std::unique_ptr<QThread> worker(QThread::create([progress] { progress->setCompletedUnitCount(7); }));
    worker->start();
    worker->wait();
    drain();
    EXPECT_EQ(bridge.fractionCompleted(), 0.7);
    EXPECT_EQ(seenOn, QThread::currentThread());

    progress->setTotalUnitCount(-1);
    drain();
    EXPECT_FALSE(bridge.fractionCompleted());
}

TEST(NSProgressBridgeTest, NothingArrivesAfterReset) {
    NSProgressBridge bridge;
    auto progress = std::make_shared<Progress>(10);
    bridge.setNsProgress(progress);
    drain();
    EXPECT_EQ(bridge.fractionCompleted(), 0.0);

    progress->setCompletedUnitCount(5); // queued, not yet delivered
    bridge.resetProgress();
    EXPECT_FALSE(bridge.nsProgress());
    drain();
    EXPECT_FALSE(bridge.fractionCompleted()) << "an update queued before the reset is dropped";
    progress->setCompletedUnitCount(9);
    drain();
    EXPECT_FALSE(bridge.fractionCompleted());
}

TEST(NSProgressBridgeTest, ReplacingTheProgressObjectStopsFollowingTheOldOne) {
    NSProgressBridge bridge;
    auto first = std::make_shared<Progress>(10);
    auto second = std::make_shared<Progress>(4);
    bridge.setNsProgress(first);
    bridge.setNsProgress(second);
    second->setCompletedUnitCount(1);
    drain();
    EXPECT_EQ(bridge.fractionCompleted(), 0.25);
    first->setCompletedUnitCount(9);
    drain();
    EXPECT_EQ(bridge.fractionCompleted(), 0.25);
}
