#include "GlobalKeys/LocalEventMonitor.h"
#include "GlobalKeys/ObjectAssociation.h"
#include "GlobalKeys/RunLoopLocalEventMonitor.h"

#include <QCoreApplication>
#include <QKeyEvent>
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

TEST(LocalEventMonitor, SeesAPropagatedKeyEventOnce) {
    QWidget parent;
    QWidget child(&parent); // ignores keys, so Qt offers them to the parent next
    int calls = 0;
    LocalEventMonitor monitor(eventMaskBit(keyDownEvent), [&](QEvent* e) {
        ++calls;
        return e;
    });
    monitor.start();
    QKeyEvent event(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier);
    QCoreApplication::sendEvent(&child, &event);
    EXPECT_EQ(calls, 1);
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
