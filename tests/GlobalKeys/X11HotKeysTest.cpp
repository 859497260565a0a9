// Global shortcuts against a real X server, pressed by a separate X client (xdotool).
#include "GlobalKeys/CarbonGlobalKeys.h"
#include "GlobalKeys/Shortcuts.h"
#include "GlobalKeys/Testing.h"
#include "platform/Services.h"
#include "platform/linux/GlobalKeysAdapters.h"
#include "platform/linux/X11HotKeyEvents.h"
#include "support/TempXdg.h"
#include "support/XServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QThread>

#include <gtest/gtest.h>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

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

class KeyRecorder : public QObject {
public:
    QList<int> pressed;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress)
            pressed << static_cast<QKeyEvent*>(event)->key();
        return false;
    }
};

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
    void ungrab(xcb_keycode_t key, std::uint16_t modifiers) {
        xcb_ungrab_key(connection, key, root, modifiers);
        xcb_flush(connection);
    }
    xcb_connection_t* connection;
    xcb_window_t root;
};

class X11HotKeys : public ::testing::Test {
protected:
    static QStringList usLayout() { return {"-rules", "evdev", "-model", "pc105", "-layout", "us"}; }
    std::shared_ptr<platform::linux_::X11HotKeyEvents> adapter() const {
        return std::dynamic_pointer_cast<platform::linux_::X11HotKeyEvents>(
            platform::get<platform::HotKeyEvents>());
    }

    static void SetUpTestSuite() {
        platform::linux_::installGlobalKeysAdapters();
        ASSERT_EQ(testXServer->run("setxkbmap", usLayout()), 0);
    }

    void SetUp() override {
        GlobalKeys::testing::resetState();
        addKeyDownHandler(name, [this] { ++downs; });
        addKeyUpHandler(name, [this] { ++ups; });
    }
    void TearDown() override {
        GlobalKeys::testing::resetState();
        testXServer->run("setxkbmap", usLayout());
        settle(200);
    }

    // Stores the shortcut and checks that the grab is in place.
    void store(const Shortcut& shortcut) {
        setShortcut(shortcut, name);
        ASSERT_EQ(CarbonGlobalKeys::hotKeys().size(), 1u) << "the hot key was not registered";
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
    EXPECT_TRUE(CarbonGlobalKeys::hotKeys().empty());

    // All or nothing: none of the lock combinations stayed grabbed by us.
    other.ungrab(x, controlAlt);
    EXPECT_TRUE(other.grab(x, controlAlt | XCB_MOD_MASK_LOCK));
    other.ungrab(x, controlAlt | XCB_MOD_MASK_LOCK);

    store(controlOptionZ);
    tap("ctrl+alt+z");
    expectOneEach();
    EXPECT_EQ(secondDowns, 0);
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
