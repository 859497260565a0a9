// SPDX-License-Identifier: GPL-3.0-or-later
#include "GlobalKeys/LocalEventMonitor.h"
#include "GlobalKeys/ObjectAssociation.h"
#include "GlobalKeys/RunLoopLocalEventMonitor.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using namespace GlobalKeys;

namespace {

class KeyWidget : public QWidget {
public:
    QList<int> pressed, released;

protected:
    void keyPressEvent(QKeyEvent* e) override { pressed << e->key(); }
    void keyReleaseEvent(QKeyEvent* e) override { released << e->key(); }
};

void press(QWidget& w, int key, QEvent::Type type = QEvent::KeyPress) {
    QKeyEvent event(type, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &event);
}

} // namespace

TEST(LocalEventMonitor, SwallowsDeliversOrReplacesOnlyMaskedEvents) {
    KeyWidget widget;
    QList<int> seen;
    auto monitor = std::make_unique<LocalEventMonitor>(
        eventMaskBit(leftMouseUpEvent) | eventMaskBit(rightMouseUpEvent) | eventMaskBit(keyDownEvent),
        [&](QEvent* event) -> QEvent* {
            const int key = static_cast<QKeyEvent*>(event)->key();
            seen << key;
            if (key == Qt::Key_A)
                return nullptr;
            if (key == Qt::Key_B)
                return new QKeyEvent(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier);
            return event;
        });
    EXPECT_EQ(monitor->events(), 0x414u);
    press(widget, Qt::Key_A);
    EXPECT_TRUE(seen.isEmpty()); // not started yet
    EXPECT_EQ(widget.pressed, QList<int>{Qt::Key_A});

    monitor->start();
    widget.pressed.clear();
    press(widget, Qt::Key_A);
    press(widget, Qt::Key_B);
    press(widget, Qt::Key_D);
    press(widget, Qt::Key_A, QEvent::KeyRelease); // key-up is not in the mask
    EXPECT_EQ(seen, (QList<int>{Qt::Key_A, Qt::Key_B, Qt::Key_D}));
    EXPECT_EQ(widget.pressed, (QList<int>{Qt::Key_C, Qt::Key_D}));
    EXPECT_EQ(widget.released, QList<int>{Qt::Key_A});

    monitor.reset(); // dropping the monitor stops it
    press(widget, Qt::Key_A);
    EXPECT_EQ(widget.pressed.last(), Qt::Key_A);
    EXPECT_EQ(seen.size(), 3);
}

TEST(LocalEventMonitor, SeesEveryEventOnceWhereverQtPassesItOn) {
    // Children that ignore keys and clicks, so Qt offers both to each parent in turn.
    QWidget window;
    window.resize(200, 200);
    QWidget middle(&window);
    middle.setGeometry(0, 0, 200, 200);
    QWidget child(&middle);
    child.setGeometry(50, 50, 100, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QList<QEvent::Type> seen;
    LocalEventMonitor monitor(eventMaskBit(keyDownEvent) | eventMaskBit(leftMouseUpEvent), [&](QEvent* e) {
        seen << e->type();
        return e;
    });
    monitor.start();
    QKeyEvent event(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier);
    QCoreApplication::sendEvent(&child, &event);
    EXPECT_EQ(seen.size(), 1);

    seen.clear();
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(&child, Qt::LeftButton);
    EXPECT_EQ(seen, QList<QEvent::Type>(3, QEvent::MouseButtonRelease));

    // Later events built at the same stack address, on a parent of the last receiver, are new events.
    seen.clear();
    for (int i = 0; i < 3; ++i) {
        QKeyEvent again(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier);
        QCoreApplication::sendEvent(i == 0 ? &child : static_cast<QWidget*>(&window), &again);
    }
    EXPECT_EQ(seen.size(), 3);
}

TEST(RunLoopLocalEventMonitor, FiltersOnlyBetweenStartAndStop) {
    KeyWidget widget;
    RunLoopLocalEventMonitor monitor(
        eventMaskBit(keyDownEvent) | eventMaskBit(keyUpEvent), "tracking",
        [](QEvent* event) -> QEvent* { return event->type() == QEvent::KeyPress ? nullptr : event; });
    press(widget, Qt::Key_A);
    monitor.start();
    press(widget, Qt::Key_B);
    press(widget, Qt::Key_B, QEvent::KeyRelease);
    monitor.stop();
    press(widget, Qt::Key_C);
    EXPECT_EQ(widget.pressed, (QList<int>{Qt::Key_A, Qt::Key_C}));
    EXPECT_EQ(widget.released, QList<int>{Qt::Key_B});
    EXPECT_EQ(monitor.runLoopMode(), "tracking");
}

TEST(ObjectAssociation, OneSlotPerInstanceReleasedWithTheObject) {
    EXPECT_EQ(unsigned(AssociationPolicy::assign), 0u);
    EXPECT_EQ(unsigned(AssociationPolicy::retainNonatomic), 1u);
    EXPECT_EQ(unsigned(AssociationPolicy::copyNonatomic), 3u);
    EXPECT_EQ(unsigned(AssociationPolicy::retain), 0x301u);
    EXPECT_EQ(unsigned(AssociationPolicy::copy), 0x303u);

    ObjectAssociation<std::shared_ptr<int>> first;
    ObjectAssociation<std::shared_ptr<int>> second(AssociationPolicy::copy);
    auto value = std::make_shared<int>(1);
    auto* object = new QObject;
    QObject other;
    first.set(object, value);
    second.set(object, std::make_shared<int>(2));
    EXPECT_EQ(*first.get(object), value);
    EXPECT_EQ(**second.get(object), 2);
    EXPECT_FALSE(first.get(&other));
    EXPECT_EQ(value.use_count(), 2);

    first.set(object, std::nullopt);
    EXPECT_FALSE(first.get(object));
    EXPECT_EQ(value.use_count(), 1);
    first.set(object, value);
    delete object;
    EXPECT_EQ(value.use_count(), 1);
}
