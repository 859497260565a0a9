// SPDX-License-Identifier: GPL-3.0-or-later
// The feedback form's building blocks, offscreen.
#include "ReducedMotionModifier.h"
#include "SimpleFeedbackFormViewModel.h"
#include "TWKStarRatingView.h"

#include "platform/Services.h"
#include "platform/fake/FakeMotionPreference.h"

#include <QAccessible>
#include <QPropertyAnimation>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gmock/gmock.h>

using namespace Tellwick_Toolbox;

namespace {

QStringList symbols(const TWKStarRatingView& view) {
    QStringList out;
    for (int i = 1; i <= 5; ++i)
        out << view.symbolOfStar(i);
    return out;
}

QString accessibleValue(TWKStarRatingView& view) {
    return QAccessible::queryAccessibleInterface(&view)->text(QAccessible::Value);
}

void accessibleAction(TWKStarRatingView& view, const QString& action) {
    QAccessible::queryAccessibleInterface(&view)->actionInterface()->doAction(action);
}

} // namespace

TEST(TWKStarRatingView, ClickingAStarRatesIt) {
    TWKStarRatingView view;
    view.show();
    EXPECT_EQ(symbols(view), QStringList(5, "star"));
    EXPECT_EQ(accessibleValue(view), "Not set");

    QSignalSpy changes(&view, &TWKStarRatingView::ratingChanged);
    QTest::mouseClick(view.starButton(3), Qt::LeftButton);
    EXPECT_EQ(view.rating(), 3);
    EXPECT_EQ(symbols(view), (QStringList{"star.fill", "star.fill", "star.fill", "star", "star"}));
    EXPECT_EQ(view.starButton(3)->text(), "★");
    EXPECT_EQ(view.starButton(4)->text(), "☆");
    EXPECT_EQ(accessibleValue(view), "3");

    QTest::mouseClick(view.starButton(3), Qt::LeftButton); // same star: same rating, nothing cleared
    EXPECT_EQ(view.rating(), 3);
    QTest::mouseClick(view.starButton(1), Qt::LeftButton);
    EXPECT_EQ(view.rating(), 1);
    EXPECT_EQ(changes.size(), 3);
    EXPECT_EQ(view.starButton(1)->font().pointSize(), 25);
}

TEST(TWKStarRatingView, AdjustableForAssistiveTechnology) {
    TWKStarRatingView view;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&view);
    ASSERT_TRUE(accessible);
    EXPECT_EQ(accessible->childCount(), 0); // the stars are hidden behind the row
    ASSERT_TRUE(accessible->actionInterface());
    EXPECT_THAT(accessible->actionInterface()->actionNames(),
                ::testing::IsSupersetOf({QAccessibleActionInterface::increaseAction(),
                                         QAccessibleActionInterface::decreaseAction()}));

    // From "Not set" the first step lands on 0.
    accessibleAction(view, QAccessibleActionInterface::increaseAction());
    EXPECT_EQ(view.rating(), 0);
    EXPECT_EQ(accessibleValue(view), "0");
    EXPECT_EQ(symbols(view), QStringList(5, "star"));
    for (int i = 0; i < 7; ++i)
        accessibleAction(view, QAccessibleActionInterface::increaseAction());
    EXPECT_EQ(view.rating(), 5);
    for (int i = 0; i < 7; ++i)
        accessibleAction(view, QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(view.rating(), 1);

    // Decrement from nothing or from 0 does nothing.
    view.setRating(std::nullopt);
    accessibleAction(view, QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(view.rating(), std::nullopt);
    view.setRating(0);
    accessibleAction(view, QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(view.rating(), 0);

    // The keyboard reaches the same steps.
    view.setRating(2);
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(view.rating(), 3);
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(view.rating(), 2);
}

TEST(SimpleFeedbackFormViewModel, AnnouncesBeforeEveryChange) {
    SimpleFeedbackConfig config;
    config.title = "Tell us";
    config.emojis = {"🙂", "🙁"};
    SimpleFeedbackFormViewModel model("key", config);
    EXPECT_EQ(model.appKey(), "key");
    EXPECT_EQ(model.config(), config);

    QStringList seenBefore;
    QObject::connect(&model, &SimpleFeedbackFormViewModel::objectWillChange, [&] {
        seenBefore << model.content() + "|" + model.email() + "|" + model.emoji() + "|" +
                          (model.imageData() ? QString::fromUtf8(*model.imageData()) : QString("none"));
    });
    model.setContent("hi");
    model.setEmail("a@b.c");
    model.setImageData(QByteArray("png"));
    model.setEmoji("🙂");
    EXPECT_EQ(seenBefore, (QStringList{"|||none", "hi|||none", "hi|a@b.c||none", "hi|a@b.c||png"}));
    EXPECT_EQ(model.emoji(), "🙂");

    int reported = 0;
    model.onFeedbackReported = [&] { ++reported; };
    model.onFeedbackReported();
    EXPECT_EQ(reported, 1);
}

namespace {

// Starts an animation of the label's width through the modifier chain and reports the width right after.
int widthRightAfterAnimating(QWidget* content, QWidget* animated) {
    auto* animation = new QPropertyAnimation(animated, "minimumWidth");
    animation->setDuration(10000);
    animation->setStartValue(10);
    animation->setEndValue(300);
    animate(animated, animation);
    return animated->minimumWidth();
    Q_UNUSED(content);
}

} // namespace

TEST(ReducedMotionModifier, ReducedMotionSkipsTheFramesInBetween) {
    auto preference = std::make_shared<platform::fake::FakeMotionPreference>();
    platform::Override<platform::MotionPreference> guard(preference);

    QWidget content;
    auto* child = new QWidget(&content);
    preference->reduce = true;
    ReducedMotionModifier* modifier = reducedMotion(&content);
    ASSERT_TRUE(modifier->reducedMotion());
    EXPECT_EQ(ReducedMotionModifier::of(child), modifier);
    EXPECT_EQ(widthRightAfterAnimating(&content, child), 300);

    preference->reduce = false;
    EXPECT_EQ(reducedMotion(&content), modifier); // applied again: the same modifier, updated
    EXPECT_FALSE(modifier->reducedMotion());
    EXPECT_LT(widthRightAfterAnimating(&content, child), 300);

    QWidget outside;
    EXPECT_EQ(ReducedMotionModifier::of(&outside), nullptr);
}
