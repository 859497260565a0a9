// SPDX-License-Identifier: GPL-3.0-or-later
// Global shortcuts against a real X server, pressed by a separate X client (xdotool).
#include "GlobalKeys/CarbonGlobalKeys.h"
#include "GlobalKeys/KeyRecorder.h"
#include "GlobalKeys/RecorderField/RecorderField.h"
#include "GlobalKeys/Shortcuts.h"
#include "GlobalKeys/Testing.h"
#include "app/ui/main/Adapters.h"
#include "platform/Services.h"
#include "platform/fake/FakeAlert.h"
#include "platform/fake/FakeSymbolicHotKeys.h"
#include "platform/linux/hotkeys/x11/X11HotKeyEvents.h"
#include "platform/linux/hotkeys/x11/XkbKeyboardLayout.h"
#include "platform/linux/hotkeys/x11/XkbSession.h"
#include "support/PrivateBus.h"
#include "support/TempXdg.h"
#include "support/XServer.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <sys/socket.h>

extern XServer* testXServer;

using namespace GlobalKeys;

namespace {

const Shortcut controlOptionZ(Key::z, Qt::ControlModifier | Qt::AltModifier);
const Shortcut controlOptionX(Key::x, Qt::ControlModifier | Qt::AltModifier);

bool waitFor(const std::function<bool()>& done, int timeoutMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

// Lets late or duplicate events arrive before counting them.
void settle(int ms = 400) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

int xdotool(const QStringList& arguments) {
    return testXServer->run("xdotool", arguments);
}

// Counts into `presses` the presses of `key` the server has sent on the connection so far.
int countPresses(xcb_connection_t* c, xcb_keycode_t key, int& presses) {
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
        if ((event->response_type & 0x7f) == XCB_KEY_PRESS &&
            reinterpret_cast<xcb_key_press_event_t*>(event)->detail == key)
            ++presses;
        free(event);
    }
    return presses;
}

// Another X client, holding its own grabs.
class OtherClient {
public:
    OtherClient() {
        connection = xcb_connect(testXServer->display().toUtf8().constData(), nullptr);
        root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    }
    ~OtherClient() { xcb_disconnect(connection); }
    xcb_keycode_t keycode(xcb_keysym_t keysym) {
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
        const xcb_keycode_t code = codes ? codes[0] : 0;
        free(codes);
        xcb_key_symbols_free(symbols);
        return code;
    }
    bool grab(xcb_keycode_t key, std::uint16_t modifiers) {
        auto cookie = xcb_grab_key_checked(connection, 1, root, modifiers, key, XCB_GRAB_MODE_ASYNC,
                                           XCB_GRAB_MODE_ASYNC);
        xcb_generic_error_t* error = xcb_request_check(connection, cookie);
        free(error);
        return !error;
    }
    // Presses of `key` the server has sent this client so far (through its grabs).
    int pressesOf(xcb_keycode_t key) { return countPresses(connection, key, presses); }
    void ungrab(xcb_keycode_t key, std::uint16_t modifiers) {
        xcb_ungrab_key(connection, key, root, modifiers);
        xcb_flush(connection);
    }
    xcb_connection_t* connection;
    xcb_window_t root;
    int presses = 0;
};

// A window of another client holding the keyboard focus; counts the presses the server sends it.
class FocusedWindow {
public:
    explicit FocusedWindow(OtherClient& client) : c(client.connection) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        window = xcb_generate_id(c);
        const std::uint32_t mask = XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE;
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 100, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_EVENT_MASK, &mask);
        xcb_map_window(c, window);
        roundTrip(); // mapped (no window manager here), so it can take the focus
        xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
        roundTrip();
    }
    ~FocusedWindow() {
        xcb_destroy_window(c, window);
        xcb_flush(c);
    }
    int pressesOf(xcb_keycode_t key) { return countPresses(c, key, presses); }

private:
    void roundTrip() { free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); }
    xcb_connection_t* c;
    xcb_window_t window;
    int presses = 0;
};

// Counts the hot-key events an adapter delivers.
struct HotKeyCounter {
    int presses = 0;
    int releases = 0;
    void attach(platform::HotKeyEvents& events) {
        platform::EventHandlerRef handler = 0;
        events.installEventHandler(
            [this](const platform::CarbonEvent* event) {
                (event->kind == platform::kEventHotKeyPressed ? presses : releases)++;
                return platform::noErr;
            },
            &handler);
        events.addEventTypesToHandler(handler,
                                      {{platform::kEventClassKeyboard, platform::kEventHotKeyPressed},
                                       {platform::kEventClassKeyboard, platform::kEventHotKeyReleased}});
    }
};

constexpr std::uint32_t carbonControlOption = 0x1800;

class X11HotKeys : public ::testing::Test {
protected:
    static QStringList usLayout() { return {"-rules", "evdev", "-model", "pc105", "-layout", "us"}; }
    std::shared_ptr<platform::linux_::X11HotKeyEvents> adapter() const {
        return std::dynamic_pointer_cast<platform::linux_::X11HotKeyEvents>(
            platform::get<platform::HotKeyEvents>());
    }

    static void SetUpTestSuite() {
        Tolvane::adapters::installGlobalKeysAdapters();
        ASSERT_EQ(testXServer->run("setxkbmap", usLayout()), 0);
    }

    void SetUp() override {
        GlobalKeys::testing::resetState();
        addKeyDownHandler(name, [this] { ++downs; });
        addKeyUpHandler(name, [this] { ++ups; });
    }
    void TearDown() override {
        GlobalKeys::testing::resetState();
        // The restore is announced too; its debounced refresh must land here, not in the next test.
        const int before = adapter()->keymapRefreshes();
        testXServer->run("setxkbmap", usLayout());
        if (!waitFor([&] { return adapter()->keymapRefreshes() > before; }, 3000))
            return; // the adapter never connected in this process: nothing to wait for
        int seen = adapter()->keymapRefreshes();
        QElapsedTimer quiet;
        quiet.start();
        while (quiet.elapsed() < 300) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(5);
            if (adapter()->keymapRefreshes() != seen) {
                seen = adapter()->keymapRefreshes();
                quiet.restart();
            }
        }
    }

    // Stores the shortcut and checks that the grab is in place.
    void store(const Shortcut& shortcut) {
        setShortcut(shortcut, name);
        ASSERT_TRUE(registeredShortcuts().count(shortcut)) << "the hot key was not registered";
    }
    void tap(const QString& keys) { ASSERT_EQ(xdotool({"key", keys}), 0); }
    void expectOneEach() {
        EXPECT_TRUE(waitFor([&] { return ups >= 1; })) << "no key-up arrived";
        settle();
        EXPECT_EQ(downs, 1);
        EXPECT_EQ(ups, 1);
    }

    TempXdg xdg;
    const Name name{"toggleSystemBrowserKeys"};
    int downs = 0;
    int ups = 0;
};

} // namespace

TEST_F(X11HotKeys, ATapGivesOneKeyDownAndOneKeyUp) {
    store(controlOptionZ);
    tap("ctrl+alt+z");
    expectOneEach();
    tap("ctrl+alt+x"); // not ours
    tap("z");
    settle();
    EXPECT_EQ(downs, 1);
}

TEST_F(X11HotKeys, AHeldKeyStillGivesOneOfEach) {
    // First make sure the server does repeat a held key, or this test could not fail.
    OtherClient other;
    const std::uint32_t on = XCB_AUTO_REPEAT_MODE_ON;
    xcb_change_keyboard_control(other.connection, XCB_KB_AUTO_REPEAT_MODE, &on);
    const xcb_keycode_t z = other.keycode(0x007a /* z */);
    {
        FocusedWindow window(other);
        ASSERT_EQ(xdotool({"keydown", "z"}), 0);
        ASSERT_EQ(testXServer->run("sleep", {"1.5"}), 0);
        ASSERT_EQ(xdotool({"keyup", "z"}), 0);
        ASSERT_GT(window.pressesOf(z), 1) << "the server does not repeat held keys";
    }

    store(controlOptionZ);
    ASSERT_EQ(xdotool({"keydown", "ctrl+alt+z"}), 0);
    // The server repeats the held key meanwhile; the events pile up on our connection.
    ASSERT_EQ(testXServer->run("sleep", {"1.5"}), 0);
    ASSERT_EQ(xdotool({"keyup", "z"}), 0);
    ASSERT_EQ(xdotool({"keyup", "ctrl+alt"}), 0);
    expectOneEach();
}

TEST_F(X11HotKeys, ReleasingTheModifiersFirstStillEndsThePress) {
    store(controlOptionZ);
    ASSERT_EQ(xdotool({"keydown", "ctrl+alt+z"}), 0);
    ASSERT_EQ(xdotool({"keyup", "ctrl+alt"}), 0);
    ASSERT_EQ(xdotool({"keyup", "z"}), 0);
    expectOneEach();
}

TEST_F(X11HotKeys, FiresWithNumLockAndWithCapsLockOn) {
    store(controlOptionZ);
    tap("Num_Lock");
    tap("ctrl+alt+z");
    EXPECT_TRUE(waitFor([&] { return ups == 1; })) << "Num Lock on";
    tap("Num_Lock");
    tap("Caps_Lock");
    tap("ctrl+alt+z");
    EXPECT_TRUE(waitFor([&] { return ups == 2; })) << "Caps Lock on";
    tap("Num_Lock");
    tap("ctrl+alt+z");
    EXPECT_TRUE(waitFor([&] { return ups == 3; })) << "both on";
    tap("Num_Lock");
    tap("Caps_Lock");
    settle();
    EXPECT_EQ(downs, 3);
}

TEST_F(X11HotKeys, AShortcutHeldByAnotherClientFailsQuietly) {
    OtherClient other;
    const xcb_keycode_t x = other.keycode(0x0078 /* x */);
    const std::uint16_t controlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
    ASSERT_TRUE(other.grab(x, controlAlt));

    const Name second("second");
    int secondDowns = 0;
    addKeyDownHandler(second, [&] { ++secondDowns; });
    setShortcut(controlOptionX, second);
    EXPECT_EQ(getShortcut(second), controlOptionX); // stored even though the grab failed
    EXPECT_FALSE(registeredShortcuts().count(controlOptionX));

    // All or nothing: none of the lock combinations stayed grabbed by us.
    other.ungrab(x, controlAlt);
    EXPECT_TRUE(other.grab(x, controlAlt | XCB_MOD_MASK_LOCK));
    other.ungrab(x, controlAlt | XCB_MOD_MASK_LOCK);

    store(controlOptionZ);
    tap("ctrl+alt+z");
    expectOneEach();
    EXPECT_EQ(secondDowns, 0);

    // Once the other client has let go, the next register-all takes the key.
    CarbonGlobalKeys::setEnabled(false);
    CarbonGlobalKeys::setEnabled(true);
    tap("ctrl+alt+x");
    EXPECT_TRUE(waitFor([&] { return secondDowns == 1; })) << "the refused hot key was never tried again";
}

TEST_F(X11HotKeys, ALayoutChangeKeepsThePhysicalKey) {
    store(controlOptionZ);
    EXPECT_EQ(keyToCharacter(Key::z.rawValue), "z");
    const auto x11 = adapter();
    ASSERT_TRUE(x11);
    const int refreshes = x11->keymapRefreshes();

    ASSERT_EQ(testXServer->run("setxkbmap", {"-rules", "evdev", "-model", "pc105", "-layout", "de"}), 0);
    EXPECT_TRUE(waitFor([&] { return keyToCharacter(Key::z.rawValue) == "y"; }));
    EXPECT_EQ(Shortcut(Key::z, Qt::ControlModifier).description(), QString::fromUtf8("⌃Y"));
    EXPECT_TRUE(waitFor([&] { return x11->keymapRefreshes() > refreshes; })) << "the change went unnoticed";

    tap("ctrl+alt+y"); // the German y sits where the US z does
    expectOneEach();
    tap("ctrl+alt+z"); // now on another key
    settle();
    EXPECT_EQ(downs, 1);
}

TEST_F(X11HotKeys, KeysThatMoveToOtherKeycodesAreGrabbedAgain) {
    store(Shortcut(Key::upArrow, Qt::ControlModifier | Qt::AltModifier));
    const int regrabs = adapter()->regrabCount();
    // The older keycode set puts the arrow keys elsewhere.
    ASSERT_EQ(testXServer->run("setxkbmap", {"-rules", "base", "-model", "pc105", "-layout", "us"}), 0);
    ASSERT_TRUE(waitFor([&] { return adapter()->regrabCount() > regrabs; })) << "no re-grab";
    tap("ctrl+alt+Up");
    expectOneEach();
}

TEST_F(X11HotKeys, AKeyboardSwitchInTheMiddleOfAPressLosesNothing) {
    store(controlOptionZ);
    const int refreshes = adapter()->keymapRefreshes();
    ASSERT_EQ(xdotool({"keydown", "ctrl+alt+z"}), 0);
    ASSERT_TRUE(waitFor([&] { return downs == 1; }));
    // The same keymap announced again, as when another keyboard is used.
    ASSERT_EQ(testXServer->run("setxkbmap", usLayout()), 0);
    ASSERT_TRUE(waitFor([&] { return adapter()->keymapRefreshes() > refreshes; }));
    ASSERT_EQ(xdotool({"keyup", "z"}), 0);
    ASSERT_EQ(xdotool({"keyup", "ctrl+alt"}), 0);
    expectOneEach();
}

TEST_F(X11HotKeys, WithAMenuOpenTheShortcutBypassesTheMenu) {
    // Alt would close a Qt menu by itself, so this shortcut avoids it.
    store(Shortcut(Key::z, Qt::ControlModifier | Qt::ShiftModifier));
    QMenu menu;
    menu.addAction("First");
    menu.addAction("Second");
    KeyRecorder recorder;
    menu.installEventFilter(&recorder);
    ASSERT_EQ(xdotool({"mousemove", "40", "40"}), 0);
    menu.popup(QPoint(20, 20));
    ASSERT_TRUE(waitFor([&] { return menu.isVisible() && CarbonGlobalKeys::isMenuOpen(); }));
    settle(300); // let the menu take the keyboard

    tap("Down");
    EXPECT_TRUE(waitFor([&] { return recorder.pressed.contains(Qt::Key_Down); }))
        << "keys do not reach the menu";
    tap("ctrl+shift+z");
    expectOneEach();
    EXPECT_FALSE(recorder.pressed.contains(Qt::Key_Z));
    EXPECT_TRUE(menu.isVisible());

    menu.hide();
    ASSERT_TRUE(waitFor([&] { return !CarbonGlobalKeys::isMenuOpen(); }));
    tap("ctrl+shift+z");
    EXPECT_TRUE(waitFor([&] { return ups == 2; })) << "the grab did not come back after the menu closed";
}

TEST_F(X11HotKeys, ALostConnectionFailsRegistrationAndSaysSoOnce) {
    auto sessions = std::make_shared<platform::linux_::XkbSessionProvider>();
    platform::linux_::X11HotKeyEvents events(sessions);
    platform::EventHotKeyRef ref = 0;
    ASSERT_EQ(events.registerEventHotKey(6 /* z */, carbonControlOption, {1, 1}, &ref), platform::noErr);
    ASSERT_NE(ref, 0u);

    static QStringList warnings;
    warnings.clear();
    const auto previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (type == QtWarningMsg && QByteArray(context.category).startsWith("GlobalKeys"))
                warnings << message;
        });
    // The server end goes away as it does when the X server quits.
    ::shutdown(xcb_get_file_descriptor(sessions->session()->connection()), SHUT_RDWR);
    ref = 0;
    const auto first = events.registerEventHotKey(7 /* x */, carbonControlOption, {1, 2}, &ref);
    const auto firstRef = ref;
    const auto again = events.registerEventHotKey(7, carbonControlOption, {1, 3}, &ref);
    settle(100);
    qInstallMessageHandler(previous);

    EXPECT_NE(first, platform::noErr);
    EXPECT_EQ(firstRef, 0u);
    EXPECT_NE(again, platform::noErr);
    EXPECT_EQ(ref, 0u);
    ASSERT_EQ(warnings.size(), 1) << warnings.join("\n").toStdString();
    EXPECT_TRUE(warnings.first().contains("lost the connection")) << warnings.first().toStdString();
}

TEST_F(X11HotKeys, AReleaseThatNeverCameDoesNotSwallowTheNextPress) {
    auto sessions = std::make_shared<platform::linux_::XkbSessionProvider>();
    platform::linux_::X11HotKeyEvents events(sessions);
    HotKeyCounter counter;
    counter.attach(events);
    platform::EventHotKeyRef ref = 0;
    ASSERT_EQ(events.registerEventHotKey(6 /* z */, carbonControlOption, {1, 1}, &ref), platform::noErr);

    ASSERT_EQ(xdotool({"keydown", "ctrl+alt+z"}), 0);
    ASSERT_TRUE(waitFor([&] { return counter.presses == 1; }));
    // The grab is broken before the key comes up (as a screen locker does), so the release goes
    // elsewhere; then the hot key is let go, as in the disabled and menu-open modes.
    xcb_connection_t* c = sessions->session()->connection();
    xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    ASSERT_EQ(xdotool({"keyup", "z"}), 0);
    ASSERT_EQ(xdotool({"keyup", "ctrl+alt"}), 0);
    settle(200);
    ASSERT_EQ(counter.releases, 0) << "the release was not meant to arrive";
    ASSERT_EQ(events.unregisterEventHotKey(ref), platform::noErr);
    ASSERT_EQ(events.registerEventHotKey(6, carbonControlOption, {1, 2}, &ref), platform::noErr);

    tap("ctrl+alt+z");
    EXPECT_TRUE(waitFor([&] { return counter.releases == 1; }));
    settle();
    EXPECT_EQ(counter.presses, 2) << "the new press was taken for a repeat of the old one";
    EXPECT_EQ(counter.releases, 1);
}

TEST_F(X11HotKeys, TheLayoutKeepsItsKeymapUntilTheServerChangesIt) {
    platform::linux_::XkbKeyboardLayout layout(std::make_shared<platform::linux_::XkbSessionProvider>());
    const auto zCode = layout.carbonKeyCode(52); // evdev keycode of the key left of x
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(layout.characterForKey(Key::z.rawValue), "z");
    EXPECT_EQ(zCode, Key::z.rawValue);
    EXPECT_EQ(layout.keymapFetches(), 1);

    ASSERT_EQ(testXServer->run("setxkbmap", {"-rules", "evdev", "-model", "pc105", "-layout", "de"}), 0);
    // No waiting: the change is announced before the server answers the next question.
    EXPECT_EQ(layout.characterForKey(Key::z.rawValue), "y");
    const int afterChange = layout.keymapFetches();
    EXPECT_GT(afterChange, 1);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(layout.characterForKey(Key::y.rawValue), "z");
    EXPECT_EQ(layout.carbonKeyCode(52), Key::z.rawValue) << "positions stay";
    EXPECT_EQ(layout.keymapFetches(), afterChange);
}

TEST_F(X11HotKeys, WhileRecordingTheDesktopsOwnShortcutsAreRecordedNotFired) {
    // The desktop's Super+L (lock the screen), held by another client.
    OtherClient desktop;
    const xcb_keycode_t l = desktop.keycode(0x006c /* l */);
    ASSERT_TRUE(desktop.grab(l, XCB_MOD_MASK_4));
    platform::Override<platform::SymbolicHotKeys> nothingReserved(
        std::make_shared<platform::fake::FakeSymbolicHotKeys>());
    const auto alerts = std::make_shared<platform::fake::FakeAlert>();
    platform::Override<platform::Alert> alertGuard(alerts);
    tap("super+l");
    ASSERT_TRUE(waitFor([&] { return desktop.pressesOf(l) == 1; })) << "the desktop's grab does not work";

    const Name recorded("recorded");
    QWidget window;
    auto* field = new RecorderField(recorded, {}, &window);
    new QLineEdit(&window);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    settle(100);
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(8, field->height() / 2));
    ASSERT_TRUE(field->isRecording());

    tap("super+l");
    // The recorder got the key; as the desktop holds it, the recorder then says it cannot be used.
    EXPECT_TRUE(waitFor([&] { return alerts->shown.size() == 1; })) << "Super+L never reached the recorder";
    EXPECT_EQ(alerts->shown.value(0).messageText.toStdString(),
              "Another application already uses this shortcut.");
    EXPECT_EQ(desktop.pressesOf(l), 1) << "the desktop's shortcut fired while recording";
    EXPECT_FALSE(getShortcut(recorded));
    ASSERT_TRUE(field->isRecording()) << "recording goes on after the alert";
    tap("ctrl+alt+b");
    EXPECT_TRUE(waitFor([&] { return !field->isRecording(); }));
    EXPECT_EQ(getShortcut(recorded), Shortcut(Key::b, Qt::ControlModifier | Qt::AltModifier));

    // Recording over, the desktop has its key back.
    tap("super+l");
    EXPECT_TRUE(waitFor([&] { return desktop.pressesOf(l) == 2; }));
}

// XFCE's own settings daemon holds the keys of its keyboard shortcuts. Recording one of them must say
// at once that it cannot be used, not offer "Use It Anyway" and then refuse it with a second alert.
TEST_F(X11HotKeys, AKeyTheXfceDaemonHoldsIsRefusedWithoutOfferingToTakeIt) {
    // XFCE's default shortcuts, as its Keyboard settings write them for the user.
    const QString channel = "/xfce4/xfconf/xfce-perchannel-xml/xfce4-keyboard-shortcuts.xml";
    ASSERT_TRUE(QDir().mkpath(QFileInfo(xdg.configHome() + channel).path()));
    ASSERT_TRUE(QFile::copy("/etc/xdg" + channel, xdg.configHome() + channel));
    qputenv("XDG_CURRENT_DESKTOP", "XFCE");
    PrivateBus bus;
    ASSERT_TRUE(bus.running());
    // The settings store is started by the bus in a session; here by hand, from the multiarch folder.
    QString xfconfd = "/usr/lib/xfce4/xfconf/xfconfd";
    for (const QString& arch : QDir("/usr/lib").entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (QFileInfo::exists("/usr/lib/" + arch + "/xfce4/xfconf/xfconfd"))
            xfconfd = "/usr/lib/" + arch + "/xfce4/xfconf/xfconfd";
    QProcess settingsStore, daemon;
    settingsStore.start(xfconfd, {});
    ASSERT_TRUE(settingsStore.waitForStarted()) << xfconfd.toStdString();
    // Started before the store answers, the daemon reads no shortcuts and grabs nothing: the bus
    // has no activation file to bring the store up on its first call.
    QDBusConnection probeBus = QDBusConnection::connectToBus(bus.address(), QStringLiteral("xfconf-probe"));
    const auto closeProbe =
        qScopeGuard([] { QDBusConnection::disconnectFromBus(QStringLiteral("xfconf-probe")); });
    ASSERT_TRUE(waitFor(
        [&] { return probeBus.interface()->isServiceRegistered(QStringLiteral("org.xfce.Xfconf")); }, 20000))
        << "xfconfd never took its bus name";
    daemon.start("xfsettingsd", {"--no-daemon"});
    ASSERT_TRUE(daemon.waitForStarted());
    const auto stop = qScopeGuard([&] {
        for (QProcess* p : {&daemon, &settingsStore}) {
            p->terminate();
            if (!p->waitForFinished(5000))
                p->kill();
        }
    });

    OtherClient probe;
    const xcb_keycode_t t = probe.keycode(0x0074 /* t */);
    const std::uint16_t controlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
    ASSERT_TRUE(waitFor(
        [&] {
            if (!probe.grab(t, controlAlt))
                return true;
            probe.ungrab(t, controlAlt);
            return false;
        },
        20000))
        << "xfsettingsd never grabbed Ctrl+Alt+T";

    const auto alerts = std::make_shared<platform::fake::FakeAlert>();
    platform::Override<platform::Alert> alertGuard(alerts);
    alerts->answers = {1}; // were "Use It Anyway" offered, it would be taken
    const Name recorded("recorded");
    QWidget window;
    auto* field = new RecorderField(recorded, {}, &window);
    new QLineEdit(&window);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    settle(100);
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(8, field->height() / 2));
    ASSERT_TRUE(field->isRecording());

    tap("ctrl+alt+t");
    ASSERT_TRUE(waitFor([&] { return !alerts->shown.isEmpty(); })) << "Ctrl+Alt+T never reached the recorder";
    settle(200);
    ASSERT_EQ(alerts->shown.size(), 1) << "a second alert followed the first";
    EXPECT_EQ(alerts->shown[0].messageText.toStdString(),
              "The desktop already uses this shortcut and keeps it for itself, so it cannot be used here.");
    EXPECT_EQ(alerts->shown[0].informativeText.toStdString(),
              "You can change the desktop's own shortcuts in its keyboard settings.");
    EXPECT_TRUE(alerts->shown[0].buttons.isEmpty()) << "offered to take a key that cannot be taken";
    EXPECT_FALSE(getShortcut(recorded));
    EXPECT_TRUE(field->isRecording()) << "recording goes on after the alert";
}
