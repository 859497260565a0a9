// SPDX-License-Identifier: GPL-3.0-or-later
#include "GlobalKeys/CarbonGlobalKeys.h"
#include "GlobalKeys/MenuItemBinding.h"
#include "GlobalKeys/ShortcutListener.h"
#include "GlobalKeys/Shortcuts.h"
#include "GlobalKeysFixture.h"

#include <QAction>
#include <QFile>
#include <QWidget>

using namespace GlobalKeys;
using platform::kEventHotKeyPressed;
using platform::kEventHotKeyReleased;

using Names = GlobalKeysTest;

namespace {
const Shortcut commandShiftA(Key::a, Qt::MetaModifier | Qt::ShiftModifier);
const Shortcut controlOptionZ(Key::z, Qt::ControlModifier | Qt::AltModifier);
} // namespace

TEST_F(Names, DefaultIsStoredOnlyWhenNothingIsStored) {
    const Name withDefault("withDefault", commandShiftA);
    EXPECT_EQ(stored("withDefault").toString(), R"({"carbonKeyCode":0,"carbonModifiers":768})");
    EXPECT_EQ(posted, QStringList{"withDefault"});
    EXPECT_TRUE(isRegistered(0, 768));
    // The file is the standard defaults under the configuration folder.
    EXPECT_TRUE(QFile(xdg.configHome() + "/tolvane/tolvane.conf").exists());

    setShortcut(std::nullopt, withDefault);
    EXPECT_EQ(stored("withDefault").toString(), "false");
    posted.clear();
    const Name again("withDefault", commandShiftA);
    EXPECT_TRUE(posted.isEmpty());
    EXPECT_EQ(stored("withDefault").toString(), "false");
    EXPECT_FALSE(getShortcut(again));
}

TEST_F(Names, ClearingDependsOnTheDefault) {
    const Name plain("plain");
    setShortcut(std::nullopt, plain);
    EXPECT_TRUE(posted.isEmpty());
    EXPECT_FALSE(hasEntry("plain"));

    setShortcut(controlOptionZ, plain);
    EXPECT_TRUE(isRegistered(6, 0x1800));
    setShortcut(std::nullopt, plain);
    EXPECT_FALSE(hasEntry("plain"));
    EXPECT_FALSE(isRegistered(6, 0x1800));
    EXPECT_FALSE(registeredShortcuts().count(controlOptionZ));
    EXPECT_EQ(posted, (QStringList{"plain", "plain"}));

    const Name withDefault("d", controlOptionZ);
    setShortcut(std::nullopt, withDefault);
    EXPECT_TRUE(hasEntry("d"));
    EXPECT_EQ(stored("d").toString(), "false");
}

TEST_F(Names, StoringReplacesTheRegistration) {
    const Name name("n");
    setShortcut(commandShiftA, name);
    setShortcut(controlOptionZ, name);
    EXPECT_FALSE(isRegistered(0, 768));
    EXPECT_TRUE(isRegistered(6, 0x1800));
    EXPECT_EQ(getShortcut(name), controlOptionZ);
    EXPECT_EQ(registeredShortcuts(), (std::unordered_set<Shortcut>{controlOptionZ}));

    // A second name with the same shortcut does not register it twice.
    const auto callsBefore = hotKeys->registerCalls.size();
    setShortcut(controlOptionZ, Name("other"));
    EXPECT_EQ(hotKeys->registerCalls.size(), callsBefore);
}

TEST_F(Names, RefusedRegistrationStillStoresButIsNotCountedAndIsRetried) {
    hotKeys->refused.insert({6, 0x1800});
    const Name name("n");
    int downs = 0;
    addKeyDownHandler(name, [&] { ++downs; });
    setShortcut(controlOptionZ, name);
    EXPECT_EQ(getShortcut(name), controlOptionZ);
    EXPECT_EQ(posted, QStringList{"n"});
    EXPECT_FALSE(registeredShortcuts().count(controlOptionZ));
    EXPECT_FALSE(isRegistered(6, 0x1800));

    // Adding another handler does not stack a second registration on the waiting one.
    addKeyDownHandler(name, [&] { ++downs; });
    hotKeys->refused.clear();
    CarbonGlobalKeys::setEnabled(false);
    CarbonGlobalKeys::setEnabled(true);
    EXPECT_TRUE(isRegistered(6, 0x1800));
    EXPECT_EQ(CarbonGlobalKeys::hotKeys().size(), 1u);
    hotKeys->fireHotKey(6, 0x1800, kEventHotKeyPressed);
    EXPECT_EQ(downs, 2); // each of the two handlers once
}

TEST_F(Names, ReadsAreNeverCachedAndOddEntriesReadAsNone) {
    const Name name("n");
    store("n", QString::fromUtf8(controlOptionZ.toJson()));
    EXPECT_EQ(getShortcut(name), controlOptionZ);
    store("n", QString::fromUtf8(commandShiftA.toJson()));
    EXPECT_EQ(getShortcut(name), commandShiftA);
    store("n", 42);
    EXPECT_FALSE(getShortcut(name));
    store("n", false);
    EXPECT_FALSE(getShortcut(name));
    store("n", R"({"carbonKeyCode":0})");
    EXPECT_FALSE(getShortcut(name));
    EXPECT_EQ(stored("n").toString(), R"({"carbonKeyCode":0})"); // reads do not repair
}

TEST_F(Names, ResetRestoresDefaultsAndRemovesOthers) {
    const Name withDefault("d", commandShiftA);
    setShortcut(controlOptionZ, withDefault);
    const Name plain("p");
    setShortcut(Shortcut(Key::f5, Qt::NoModifier), plain);
    const Name marker("m");
    store("m", false);
    posted.clear();

    reset({withDefault, plain, marker});
    EXPECT_EQ(getShortcut(withDefault), commandShiftA);
    EXPECT_FALSE(hasEntry("p"));
    EXPECT_FALSE(isRegistered(96, 0));
    EXPECT_TRUE(hasEntry("m"));
    EXPECT_EQ(posted, (QStringList{"d", "p"}));
}

TEST_F(Names, EnableAndDisableTouchRegistrationsOnly) {
    const Name name("n");
    setShortcut(controlOptionZ, name);
    disableShortcuts({name});
    EXPECT_FALSE(isRegistered(6, 0x1800));
    EXPECT_EQ(getShortcut(name), controlOptionZ);
    enableShortcuts({name, Name("nothingStored")});
    EXPECT_TRUE(isRegistered(6, 0x1800));
}

TEST_F(Names, HandlersRunInOrderForEveryMatchingName) {
    const Name first("first");
    const Name second("second");
    QStringList calls;
    addKeyUpHandler(first, [&] { calls << "up1"; });
    addKeyUpHandler(first, [&] { calls << "up2"; });
    addKeyDownHandler(first, [&] { calls << "down"; });
    addKeyUpHandler(second, [&] { calls << "second"; });
    EXPECT_TRUE(hotKeys->registerCalls.empty()); // nothing stored yet

    setShortcut(controlOptionZ, first);
    setShortcut(controlOptionZ, second);
    ASSERT_TRUE(isRegistered(6, 0x1800));
    EXPECT_EQ(hotKeys->fireHotKey(6, 0x1800, kEventHotKeyPressed), platform::noErr);
    EXPECT_EQ(calls, QStringList{"down"});
    calls.clear();
    EXPECT_EQ(hotKeys->fireHotKey(6, 0x1800, kEventHotKeyReleased), platform::noErr);
    EXPECT_EQ(calls.size(), 3);
    EXPECT_LT(calls.indexOf("up1"), calls.indexOf("up2"));
    EXPECT_TRUE(calls.contains("second"));

    // The store is read at each dispatch: a name moved elsewhere behind our back no longer fires.
    calls.clear();
    store("second", QString::fromUtf8(commandShiftA.toJson()));
    hotKeys->fireHotKey(6, 0x1800, kEventHotKeyReleased);
    EXPECT_EQ(calls, (QStringList{"up1", "up2"}));
}

TEST_F(Names, AddingAHandlerRegistersAStoredShortcut) {
    store("n", QString::fromUtf8(controlOptionZ.toJson()));
    int ups = 0;
    addKeyUpHandler(Name("n"), [&] { ++ups; });
    EXPECT_TRUE(isRegistered(6, 0x1800));
    hotKeys->fireHotKey(6, 0x1800, kEventHotKeyPressed);
    hotKeys->fireHotKey(6, 0x1800, kEventHotKeyReleased);
    EXPECT_EQ(ups, 1);
}

TEST_F(Names, PausedDispatchCallsNothing) {
    const Name name("n");
    int calls = 0;
    addKeyDownHandler(name, [&] { ++calls; });
    setShortcut(controlOptionZ, name);
    auto stream = eventStream(name);
    drainMainQueue();
    setPaused(true);
    hotKeys->fireHotKey(6, 0x1800, kEventHotKeyPressed);
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(stream->next());
    setPaused(false);
    hotKeys->fireHotKey(6, 0x1800, kEventHotKeyPressed);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(stream->next(), EventType::keyDown);
}

TEST_F(Names, StreamsYieldEventsAndKeepTheirHotKeyAlive) {
    const Name name("n");
    setShortcut(controlOptionZ, name);
    disableShortcuts({name});
    auto all = eventStream(name);
    auto upsOnly = eventStream(name, EventType::keyUp);
    EXPECT_FALSE(isRegistered(6, 0x1800)); // bookkeeping waits for the main queue
    drainMainQueue();
    EXPECT_TRUE(isRegistered(6, 0x1800));

    int signalled = 0;
    QObject::connect(all.get(), &EventStream::eventAvailable, [&] { ++signalled; });
    hotKeys->fireHotKey(6, 0x1800, kEventHotKeyPressed);
    hotKeys->fireHotKey(6, 0x1800, kEventHotKeyReleased);
    EXPECT_EQ(signalled, 2);
    EXPECT_EQ(all->next(), EventType::keyDown);
    EXPECT_EQ(all->next(), EventType::keyUp);
    EXPECT_FALSE(all->next());
    EXPECT_EQ(upsOnly->next(), EventType::keyUp);
    EXPECT_FALSE(upsOnly->next());

    // Handlers go, the streams' hot key stays.
    addKeyDownHandler(name, [] {});
    removeAllHandlers();
    EXPECT_TRUE(isRegistered(6, 0x1800));

    all.reset();
    drainMainQueue();
    EXPECT_TRUE(isRegistered(6, 0x1800)); // another stream still listens
    upsOnly.reset();
    drainMainQueue();
    EXPECT_FALSE(isRegistered(6, 0x1800));
}

TEST_F(Names, RemoveAllHandlersUnregistersHandlerOnlyShortcuts) {
    const Name name("n");
    int calls = 0;
    addKeyDownHandler(name, [&] { ++calls; });
    setShortcut(controlOptionZ, name);
    removeAllHandlers();
    EXPECT_FALSE(isRegistered(6, 0x1800));
    EXPECT_EQ(getShortcut(name), controlOptionZ);
    enableShortcuts({name});
    hotKeys->fireHotKey(6, 0x1800, kEventHotKeyPressed);
    EXPECT_EQ(calls, 0);
}

TEST_F(Names, MenuActionFollowsTheName) {
    QAction action("Toggle");
    const Name name("menuName");
    setShortcutName(&action, name);
    EXPECT_TRUE(action.shortcut().isEmpty());
    EXPECT_EQ(shortcutName(&action), name);

    setShortcut(commandShiftA, name);
    EXPECT_TRUE(action.shortcut().isEmpty()); // applied on the next turn of the event loop
    drainMainQueue();
    EXPECT_EQ(action.shortcut(), QKeySequence(Qt::META | Qt::SHIFT | Qt::Key_A));

    setShortcut(commandShiftA, Name("unrelated"));
    setShortcut(std::nullopt, name);
    drainMainQueue();
    EXPECT_TRUE(action.shortcut().isEmpty());

    setShortcut(controlOptionZ, Name("second"));
    setShortcutName(&action, Name("second"));
    EXPECT_EQ(action.shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z));
    setShortcut(commandShiftA, name); // the old name no longer drives the action
    drainMainQueue();
    EXPECT_EQ(action.shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z));

    setShortcutName(&action, std::nullopt);
    EXPECT_TRUE(action.shortcut().isEmpty());
    EXPECT_FALSE(shortcutName(&action));
}

TEST_F(Names, AnActionDestroyedBeforeTheUpdateIsLeftAlone) {
    const Name name("n");
    auto* action = new QAction("gone");
    setShortcutName(action, name);
    setShortcut(commandShiftA, name);
    delete action;
    drainMainQueue(); // must not touch the deleted action
    setShortcut(controlOptionZ, name);
    drainMainQueue();
    SUCCEED();
}

TEST_F(Names, AWidgetListensOnlyWhileShown) {
    const Name name("n");
    setShortcut(controlOptionZ, name);
    disableShortcuts({name});
    QWidget widget;
    QList<EventType> seen;
    auto* listener = onKeyboardShortcut(&widget, name, EventType::keyUp, [&](EventType t) { seen << t; });
    EXPECT_FALSE(listener->isListening());

    widget.show();
    drainMainQueue();
    ASSERT_TRUE(isRegistered(6, 0x1800));
    hotKeys->fireHotKey(6, 0x1800, kEventHotKeyPressed);
    hotKeys->fireHotKey(6, 0x1800, kEventHotKeyReleased);
    EXPECT_EQ(seen, QList<EventType>{EventType::keyUp});

    widget.hide();
    drainMainQueue();
    EXPECT_FALSE(listener->isListening());
    EXPECT_FALSE(isRegistered(6, 0x1800)); // nothing else uses it
}
