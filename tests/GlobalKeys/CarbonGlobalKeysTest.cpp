// SPDX-License-Identifier: GPL-3.0-or-later
#include "GlobalKeys/CarbonGlobalKeys.h"
#include "GlobalKeys/Shortcuts.h"
#include "GlobalKeysFixture.h"
#include "KeyRecorder.h"

#include <QKeyEvent>
#include <QMenu>

using namespace GlobalKeys;
using namespace platform;

using Registry = GlobalKeysTest;

namespace {
const Shortcut controlOptionZ(Key::z, Qt::ControlModifier | Qt::AltModifier);
const Shortcut commandF5(Key::f5, Qt::MetaModifier);

struct Counter {
    QList<Shortcut> downs, ups;
    ShortcutCallback down() {
        return [this](const Shortcut& s) { downs << s; };
    }
    ShortcutCallback up() {
        return [this](const Shortcut& s) { ups << s; };
    }
};

// Keeps a temporary event alive for the call it is passed to.
const CarbonEvent* ptr(const CarbonEvent& event) {
    return &event;
}

std::vector<std::int64_t> ids() {
    std::vector<std::int64_t> result;
    for (const auto& [id, hotKey] : CarbonGlobalKeys::hotKeys())
        result.push_back(id);
    return result;
}

// Opens a menu as the user would; `recorder` notes the keys that reach it.
void popUp(QMenu& menu, KeyRecorder& recorder) {
    menu.addAction("Item");
    menu.installEventFilter(&recorder);
    menu.popup(QPoint(10, 10));
    GlobalKeysTest::drainMainQueue();
}

} // namespace

TEST_F(Registry, IdsCountUpAndAreNeverReused) {
    Counter c;
    const auto base = CarbonGlobalKeys::lastHotKeyId();
    CarbonGlobalKeys::registerHotKey(controlOptionZ, c.down(), c.up());
    CarbonGlobalKeys::registerHotKey(commandF5, c.down(), c.up());
    EXPECT_EQ(ids(), (std::vector<std::int64_t>{base + 1, base + 2}));
    CarbonGlobalKeys::unregisterHotKey(controlOptionZ);
    CarbonGlobalKeys::registerHotKey(controlOptionZ, c.down(), c.up());
    EXPECT_EQ(ids(), (std::vector<std::int64_t>{base + 2, base + 3}));

    const auto& call = hotKeys->registerCalls.back();
    EXPECT_EQ(call.id.signature, 0x54514856u); // "TQHV"
    EXPECT_EQ(call.id.id, base + 3);
    EXPECT_EQ(call.keyCode, 6u);
    EXPECT_EQ(call.modifiers, 0x1800u);
    EXPECT_TRUE(CarbonGlobalKeys::hasEventHandler());
    EXPECT_TRUE(hotKeys->handles(kEventHotKeyPressed));
    EXPECT_TRUE(hotKeys->handles(kEventHotKeyReleased));
}

TEST_F(Registry, RefusedRegistrationsWaitForTheNextRegisterAllInvalidOnesLeaveNoEntry) {
    Counter c;
    const auto base = CarbonGlobalKeys::lastHotKeyId();
    hotKeys->refused.insert({6, 0x1800});
    EXPECT_EQ(CarbonGlobalKeys::registerHotKey(controlOptionZ, c.down(), c.up()),
              CarbonGlobalKeys::Registration::refused);
    Shortcut negative;
    negative.carbonKeyCode = -1;
    EXPECT_EQ(CarbonGlobalKeys::registerHotKey(negative, c.down(), c.up()),
              CarbonGlobalKeys::Registration::unavailable);
    EXPECT_EQ(ids(), std::vector<std::int64_t>{base + 1});
    EXPECT_EQ(CarbonGlobalKeys::lastHotKeyId(), base + 2);
    EXPECT_EQ(hotKeys->registerCalls.size(), 1u); // the negative code never reached the service

    hotKeys->refused.clear(); // the other program let go
    CarbonGlobalKeys::setEnabled(false);
    CarbonGlobalKeys::setEnabled(true);
    ASSERT_TRUE(hotKeys->registrationFor(6, 0x1800));
    EXPECT_EQ(std::int64_t(hotKeys->registrationFor(6, 0x1800)->id.id), base + 1);
    EXPECT_EQ(hotKeys->fireHotKey(6, 0x1800, kEventHotKeyPressed), noErr);
    EXPECT_EQ(c.downs, QList<Shortcut>{controlOptionZ});
}

TEST_F(Registry, WithoutAHotKeyServiceNothingRegistersAndNothingStops) {
    Override<HotKeyEvents> none(nullptr);
    Counter c;
    CarbonGlobalKeys::registerHotKey(controlOptionZ, c.down(), c.up());
    setShortcut(commandF5, Name("n"));
    EXPECT_TRUE(CarbonGlobalKeys::hotKeys().empty());
    EXPECT_EQ(getShortcut(Name("n")), commandF5);
}

TEST_F(Registry, UnregisterRemovesEveryEntryOfTheShortcut) {
    Counter c;
    CarbonGlobalKeys::registerHotKey(controlOptionZ, c.down(), c.up());
    CarbonGlobalKeys::registerHotKey(commandF5, c.down(), c.up());
    CarbonGlobalKeys::registerHotKey(controlOptionZ, c.down(), c.up());
    CarbonGlobalKeys::unregisterHotKey(controlOptionZ);
    ASSERT_EQ(CarbonGlobalKeys::hotKeys().size(), 1u);
    EXPECT_EQ(CarbonGlobalKeys::hotKeys().begin()->second->shortcut, commandF5);
    EXPECT_EQ(hotKeys->registered.size(), 1u);
}

TEST_F(Registry, DisablingStopsCallbacksAndEnablingKeepsTheIds) {
    Counter c;
    CarbonGlobalKeys::registerHotKey(controlOptionZ, c.down(), c.up());
    const auto before = ids();
    CarbonGlobalKeys::setEnabled(false);
    EXPECT_TRUE(hotKeys->registered.empty());
    EXPECT_FALSE(hotKeys->handles(kEventHotKeyPressed));
    EXPECT_EQ(hotKeys->fireHotKey(6, 0x1800, kEventHotKeyPressed), eventNotHandledErr);
    EXPECT_TRUE(c.downs.isEmpty());
    EXPECT_EQ(ids(), before); // entries stay while unregistered

    CarbonGlobalKeys::setEnabled(true);
    ASSERT_TRUE(hotKeys->registrationFor(6, 0x1800));
    EXPECT_EQ(std::int64_t(hotKeys->registrationFor(6, 0x1800)->id.id), before.front());
    EXPECT_EQ(hotKeys->fireHotKey(6, 0x1800, kEventHotKeyPressed), noErr);
    EXPECT_EQ(c.downs, QList<Shortcut>{controlOptionZ});
}

TEST_F(Registry, AFailedReRegistrationIsTriedAgainNextTime) {
    Counter c;
    CarbonGlobalKeys::registerHotKey(controlOptionZ, c.down(), c.up());
    CarbonGlobalKeys::registerHotKey(commandF5, c.down(), c.up());
    CarbonGlobalKeys::setMenuOpen(true);
    hotKeys->refused.insert({6, 0x1800}); // another program took it meanwhile
    CarbonGlobalKeys::setMenuOpen(false);
    EXPECT_EQ(CarbonGlobalKeys::hotKeys().size(), 2u);
    EXPECT_FALSE(hotKeys->registrationFor(6, 0x1800));
    EXPECT_TRUE(hotKeys->registrationFor(96, 0x100));

    hotKeys->refused.clear();
    CarbonGlobalKeys::setMenuOpen(true);
    CarbonGlobalKeys::setMenuOpen(false);
    EXPECT_TRUE(hotKeys->registrationFor(6, 0x1800));
    EXPECT_TRUE(hotKeys->registrationFor(96, 0x100));
}

TEST_F(Registry, MenuOpenModeWithRawKeyEvents) {
    hotKeys->usesEventMonitor = false;
    Counter c;
    CarbonGlobalKeys::registerHotKey(controlOptionZ, c.down(), c.up());
    CarbonGlobalKeys::setMenuOpen(true);
    EXPECT_TRUE(hotKeys->registered.empty());
    EXPECT_FALSE(hotKeys->handles(kEventHotKeyPressed));
    EXPECT_TRUE(hotKeys->handles(kEventRawKeyDown));
    EXPECT_TRUE(hotKeys->handles(kEventRawKeyUp));

    EXPECT_EQ(hotKeys->deliver(CarbonEvent::rawKey(kEventRawKeyDown, 6, 0x1800 | 0x400)), noErr);
    EXPECT_EQ(hotKeys->deliver(CarbonEvent::rawKey(kEventRawKeyUp, 6, 0x1800)), noErr);
    EXPECT_EQ(hotKeys->deliver(CarbonEvent::rawKey(kEventRawKeyDown, 7, 0x1800)), eventNotHandledErr);
    EXPECT_EQ(c.downs.size(), 1);
    EXPECT_EQ(c.ups.size(), 1);

    CarbonGlobalKeys::setMenuOpen(false);
    EXPECT_FALSE(hotKeys->handles(kEventRawKeyDown));
    EXPECT_TRUE(hotKeys->handles(kEventHotKeyReleased));
    EXPECT_TRUE(hotKeys->registrationFor(6, 0x1800));
}

TEST_F(Registry, EventKindsAndStatusCodes) {
    Counter c;
    CarbonGlobalKeys::registerHotKey(controlOptionZ, c.down(), c.up());
    const auto id = std::uint32_t(ids().front());
    EXPECT_EQ(CarbonGlobalKeys::handleCarbonEvent(nullptr), eventNotHandledErr);
    EXPECT_EQ(CarbonGlobalKeys::handleCarbonEvent(ptr(CarbonEvent::hotKey(2, {0x54514856u, id}))),
              eventNotHandledErr);
    EXPECT_EQ(CarbonGlobalKeys::handleCarbonEvent(ptr(CarbonEvent::hotKey(7, {0x54514856u, id}))),
              eventNotHandledErr);
    EXPECT_EQ(CarbonGlobalKeys::handleCarbonEvent(ptr(CarbonEvent::hotKey(5, {fourCharCode("XXXX"), id}))),
              eventNotHandledErr);
    EXPECT_EQ(CarbonGlobalKeys::handleCarbonEvent(ptr(CarbonEvent::hotKey(5, {0x54514856u, id + 100}))),
              eventNotHandledErr);
    CarbonEvent bare;
    bare.kind = kEventHotKeyPressed;
    EXPECT_EQ(CarbonGlobalKeys::handleCarbonEvent(&bare), eventParameterNotFoundErr);
    bare.kind = kEventRawKeyDown;
    EXPECT_EQ(CarbonGlobalKeys::handleCarbonEvent(&bare), eventParameterNotFoundErr);
    EXPECT_TRUE(c.downs.isEmpty());

    EXPECT_EQ(CarbonGlobalKeys::handleCarbonEvent(ptr(CarbonEvent::hotKey(5, {0x54514856u, id}))), noErr);
    EXPECT_EQ(CarbonGlobalKeys::handleCarbonEvent(ptr(CarbonEvent::hotKey(6, {0x54514856u, id}))), noErr);
    EXPECT_EQ(c.downs.size(), 1);
    EXPECT_EQ(c.ups.size(), 1);
    // A repeat of the held hot key is taken like its press, without a second key-down; others are not.
    EXPECT_EQ(CarbonGlobalKeys::handleRawKeyEvent(ptr(CarbonEvent::rawKey(kEventRawKeyRepeat, 6, 0x1800))),
              noErr);
    EXPECT_EQ(CarbonGlobalKeys::handleRawKeyEvent(ptr(CarbonEvent::rawKey(kEventRawKeyRepeat, 7, 0x1800))),
              eventNotHandledErr);
    EXPECT_EQ(c.downs.size(), 1);
}

TEST_F(Registry, SystemShortcutsKeepOnlyWellFormedEnabledEntries) {
    symbolic->entries = {
        {true, 6, 0x1800 | 0x4},             // kept, normalised
        {false, 7, 0x100},                   // disabled
        {true, QVariant(), 0x100},           // no code
        {true, 8, QString("256")},           // modifiers not an integer
        {1, 9, 0x100},                       // enabled flag not a Boolean
        {true, qlonglong(96), qlonglong(0)}, // kept
    };
    EXPECT_EQ(CarbonGlobalKeys::systemShortcuts(), (std::vector<Shortcut>{controlOptionZ, Shortcut(96, 0)}));
    symbolic->status = -1;
    EXPECT_TRUE(CarbonGlobalKeys::systemShortcuts().empty());
}

TEST_F(Registry, OpenMenuSeesTheShortcutThroughTheEventFilter) {
    layout->nativeOffset = 8;
    const Name name("menuTest"); // installs the menu observers
    int downs = 0, ups = 0;
    addKeyDownHandler(name, [&] { ++downs; });
    addKeyUpHandler(name, [&] { ++ups; });
    setShortcut(controlOptionZ, name);

    QMenu menu;
    KeyRecorder recorder;
    popUp(menu, recorder);
    ASSERT_TRUE(CarbonGlobalKeys::isMenuOpen());
    EXPECT_FALSE(hotKeys->registrationFor(6, 0x1800)); // the grab is released while the menu is open

    const auto mods = Qt::ControlModifier | Qt::AltModifier;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Z, mods, 6 + 8, 0, 0);
    // The modifiers went up first: the release still belongs to the hot key.
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Z, Qt::NoModifier, 6 + 8, 0, 0);
    QKeyEvent other(QEvent::KeyPress, Qt::Key_X, mods, 7 + 8, 0, 0);
    QCoreApplication::sendEvent(&menu, &press);
    QCoreApplication::sendEvent(&menu, &release);
    QCoreApplication::sendEvent(&menu, &other);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(recorder.pressed, QList<int>{Qt::Key_X});

    menu.hide();
    drainMainQueue();
    EXPECT_FALSE(CarbonGlobalKeys::isMenuOpen());
    EXPECT_TRUE(hotKeys->registrationFor(6, 0x1800));
    QKeyEvent afterwards(QEvent::KeyPress, Qt::Key_Z, mods, 6 + 8, 0, 0);
    QCoreApplication::sendEvent(&menu, &afterwards);
    EXPECT_EQ(downs, 1); // the filter is gone with the menu
}

TEST_F(Registry, AnOpenMenuForgetsPressesWhoseReleaseItNeverSaw) {
    layout->nativeOffset = 8;
    const Name name("menuTest");
    int downs = 0, ups = 0;
    addKeyDownHandler(name, [&] { ++downs; });
    addKeyUpHandler(name, [&] { ++ups; });
    setShortcut(controlOptionZ, name);
    const auto mods = Qt::ControlModifier | Qt::AltModifier;
    const auto send = [](QMenu& menu, QEvent::Type type, Qt::KeyboardModifiers modifiers,
                         bool repeat = false) {
        QKeyEvent event(type, Qt::Key_Z, modifiers, 6 + 8, 0, 0, QString(), repeat);
        QCoreApplication::sendEvent(&menu, &event);
    };

    QMenu menu;
    KeyRecorder recorder;
    popUp(menu, recorder);
    send(menu, QEvent::KeyPress, mods);
    send(menu, QEvent::KeyPress, mods, true); // the key is held
    EXPECT_EQ(downs, 1);
    EXPECT_TRUE(recorder.pressed.isEmpty()) << "a repeat of the hot key reached the menu";
    menu.hide(); // before the key came up
    drainMainQueue();

    menu.popup(QPoint(10, 10));
    drainMainQueue();
    send(menu, QEvent::KeyRelease, Qt::NoModifier); // a plain z typed in the later menu
    EXPECT_EQ(ups, 0) << "a stale press turned a plain release into the hot key's key-up";
    EXPECT_EQ(recorder.released, QList<int>{Qt::Key_Z});

    // Pressed again, then a plain press of the same key: the release after it is the plain key's.
    send(menu, QEvent::KeyPress, mods);
    EXPECT_EQ(downs, 2);
    send(menu, QEvent::KeyPress, Qt::NoModifier);
    send(menu, QEvent::KeyRelease, Qt::NoModifier);
    EXPECT_EQ(ups, 0);
    EXPECT_EQ(recorder.pressed, QList<int>{Qt::Key_Z});
    EXPECT_EQ(recorder.released.size(), 2);
}

// Exposes how many slots watch the menu's end.
class CountedMenu : public QMenu {
public:
    int destroyedWatchers() const { return receivers(SIGNAL(destroyed(QObject*))); }
};

TEST_F(Registry, AMenuShownAgainIsWatchedOnce) {
    const Name name("menuTest"); // installs the menu observers
    CountedMenu menu;
    menu.addAction("Item");
    menu.popup(QPoint(10, 10));
    drainMainQueue();
    ASSERT_TRUE(CarbonGlobalKeys::isMenuOpen());
    const int once = menu.destroyedWatchers();
    for (int i = 0; i < 3; ++i) {
        menu.hide();
        menu.popup(QPoint(10, 10));
        drainMainQueue();
    }
    EXPECT_EQ(menu.destroyedWatchers(), once);
    EXPECT_TRUE(CarbonGlobalKeys::isMenuOpen());
}

TEST_F(Registry, ADestroyedOpenMenuClosesTheMenuMode) {
    const Name name("menuTest");
    auto menu = std::make_unique<QMenu>();
    menu->addAction("Item");
    menu->popup(QPoint(10, 10));
    drainMainQueue();
    ASSERT_TRUE(CarbonGlobalKeys::isMenuOpen());
    menu->hide();
    menu->popup(QPoint(10, 10));
    drainMainQueue();
    menu.reset();
    EXPECT_FALSE(CarbonGlobalKeys::isMenuOpen());
}
