// SPDX-License-Identifier: GPL-3.0-or-later
// Global shortcuts where Qt does not run on X11 (this program runs offscreen): the real adapters
// choose the GlobalShortcuts portal, bind through Debian's xdg-desktop-portal frontend, and a key the
// desktop reports switches the browser through the application's own reactor and settings window.
#include "GlobalKeys/CarbonGlobalKeys.h"
#include "GlobalKeys/RecorderField/Recorder.h"
#include "GlobalKeys/Shortcuts.h"
#include "GlobalKeys/Testing.h"
#include "PortalDesktop.h"
#include "SettingsStore.h"
#include "TolvaShortcutReactor.h"
#include "app/ui/main/Adapters.h"
#include "app/ui/settings/SettingsView.h"
#include "app/ui/settings/SettingsWindow.h"
#include "platform/HotKeyEvents.h"
#include "platform/HotKeyStatus.h"
#include "platform/fake/FakeLoginItemService.h"
#include "support/FakePlatform.h"
#include "support/TempXdg.h"

#include <QApplication>
#include <QDBusReply>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLabel>
#include <QSettings>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace GlobalKeys;
using namespace Tolvane;

namespace {

const QString toggleId = QStringLiteral("toggleSystemBrowserKeys");
constexpr Qt::KeyboardModifiers controlOption = Qt::ControlModifier | Qt::AltModifier;

QStringList portalWarnings;
QtMessageHandler defaultHandler = nullptr;
void collectWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && QByteArray(context.category).startsWith("GlobalKeys"))
        portalWarnings << message;
    else if (defaultHandler)
        defaultHandler(type, context, message);
}

// The application as it starts with a stored shortcut: the real global-shortcut adapters (installed
// once, as the application does), then the reactor. Each case starts from its own stored shortcut, so
// it is a new set for the desktop. The switch itself goes to a fake handler service that counts it.
class PortalShortcuts : public ::testing::Test {
protected:
    static inline PortalDesktop* desktop = nullptr;
    static inline int statusChanges = 0;

    static void SetUpTestSuite() {
        desktop = new PortalDesktop;
        ASSERT_TRUE(desktop->startBackend());
        ASSERT_TRUE(desktop->startFrontend()) << desktop->frontendLog().toStdString();
        Tolvane::adapters::installGlobalKeysAdapters();
        platform::get<platform::HotKeyStatus>()->addStatusObserver([] { ++statusChanges; });
    }
    static void TearDownTestSuite() {
        platform::install<platform::HotKeyEvents>(nullptr);
        platform::install<platform::HotKeyStatus>(nullptr);
        delete desktop;
        desktop = nullptr;
    }

    TempXdg xdg;
    FakePlatform fakes;
    std::shared_ptr<platform::fake::FakeLoginItemService> loginItems =
        std::make_shared<platform::fake::FakeLoginItemService>();
    platform::Override<platform::LoginItemService> loginGuard{loginItems};
    std::unique_ptr<TolvaShortcutReactor> reactor;
    int bindsBefore = 0;

    void SetUp() override {
        fakes.addApp("/apps/foo.desktop", "org.foo", {{"CFBundleName", "Foo"}});
        SettingsStore::setString(SettingsStore::toggleBrowserId, "org.foo::file:///apps/foo.desktop");
        SettingsStore::setBool(SettingsStore::toggleBrowser, true);
        desktop->control().call("SetBindResponse", 0u);
        desktop->control().call("SetBindListsShortcuts", true);
        bindsBefore = desktop->binds().size();
        portalWarnings.clear();
        defaultHandler = qInstallMessageHandler(collectWarnings);
    }
    void TearDown() override {
        qInstallMessageHandler(defaultHandler);
        reactor.reset();
        GlobalKeys::testing::resetState();
        if (!desktop->frontendRunning())
            desktop->startFrontend();
    }

    void startApplication(const Shortcut& stored) {
        QSettings(userDefaultsPath(), QSettings::IniFormat)
            .setValue(userDefaultsKey(TolvaShortcutReactor::toggleSystemBrowserKeys()),
                      QString::fromUtf8(stored.toJson()));
        reactor = std::make_unique<TolvaShortcutReactor>();
    }
    int switches() const { return int(fakes.handlers->calls.size()); }
    QJsonObject lastBound() {
        const QJsonArray binds = desktop->binds();
        return binds.isEmpty() ? QJsonObject() : binds.last().toObject();
    }
    bool waitForBinds(int count) {
        return waitFor([&] { return desktop->binds().size() == bindsBefore + count; });
    }
    void tap() {
        desktop->control().call("Press", toggleId);
        desktop->control().call("Release", toggleId);
    }
    // Everything the desktop sent before this has been handled once it returns: the portal's
    // signals reach us in order, and a shortcuts-changed signal always announces itself.
    void settle() {
        const int before = statusChanges;
        desktop->control().call("ChangeTrigger", toggleId, "Ctrl+Alt+B");
        ASSERT_TRUE(waitFor([&] { return statusChanges > before; }));
    }
};

TEST_F(PortalShortcuts, StoredShortcutIsBoundAtStartAndEachReleaseSwitchesOnceUnlessPaused) {
    startApplication(Shortcut(Key::b, controlOption));
    ASSERT_TRUE(waitForBinds(1)) << desktop->frontendLog().toStdString();
    const QJsonArray asked = lastBound().value("shortcuts").toArray();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].toObject().value("id").toString(), toggleId);
    EXPECT_EQ(asked[0].toObject().value("description").toString(), "Switch the default browser");
    EXPECT_EQ(asked[0].toObject().value("preferred_trigger").toString(), "CTRL+ALT+b");

    tap();
    ASSERT_TRUE(waitFor([&] { return switches() == 1; }));
    settle();
    EXPECT_EQ(switches(), 1) << "one press and release is one switch";

    // The recorder listening: nothing is delivered.
    setPaused(true);
    tap();
    settle();
    setPaused(false);
    EXPECT_EQ(switches(), 1);

    // A menu opened on the press: its release after the menu closed is not a switch either.
    CarbonGlobalKeys::setMenuOpen(true);
    desktop->control().call("Press", toggleId);
    settle();
    CarbonGlobalKeys::setMenuOpen(false);
    desktop->control().call("Release", toggleId);
    settle();
    EXPECT_EQ(switches(), 1);

    tap();
    ASSERT_TRUE(waitFor([&] { return switches() == 2; }));
    EXPECT_EQ(desktop->binds().size(), bindsBefore + 1) << "pausing mutes; it never binds again";
    EXPECT_TRUE(portalWarnings.isEmpty()) << portalWarnings.join('\n').toStdString();
}

TEST_F(PortalShortcuts, RecordingAnotherKeyBindsItAndTheDesktopsChoiceIsShown) {
    startApplication(Shortcut(Key::n, controlOption));
    ASSERT_TRUE(waitForBinds(1));
    const int closedBefore = desktop->closedSessions();
    // GNOME's form of the trigger it chose.
    desktop->control().call("AssignTrigger", toggleId, "Press <Control><Alt>y");

    SettingsStore::setBool(SettingsStore::toggleBrowser, true); // shows the recorder
    SettingsWindow window;
    window.view()->tabs()->setCurrentIndex(1);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* status = window.findChild<QLabel*>("globalShortcutStatus");
    ASSERT_NE(status, nullptr);
    EXPECT_TRUE(status->isHidden()) << status->text().toStdString();

    // Ctrl+Alt and the key right of T, as Wayland reports it: the scan code is the XKB key code.
    RecorderField* field = window.view()->recorder()->field();
    for (int i = 0; i < 3; ++i) // the field's focus guard lets go a turn after activation
        QCoreApplication::processEvents();
    field->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(field->isRecording());
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent key(type, Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier, 29, 0, 0);
        QApplication::sendEvent(field, &key);
    }
    const Shortcut recorded(Key::y, controlOption); // the position, not the letter
    EXPECT_EQ(getShortcut(TolvaShortcutReactor::toggleSystemBrowserKeys()), recorded);
    EXPECT_EQ(field->text(), QString("Ctrl+Alt+Z")) << "the German layout's letter on that key";

    ASSERT_TRUE(waitForBinds(2));
    const QJsonArray asked = lastBound().value("shortcuts").toArray();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].toObject().value("id").toString(), toggleId) << "the id stays: the approval stays";
    EXPECT_EQ(asked[0].toObject().value("preferred_trigger").toString(), "CTRL+ALT+z");
    EXPECT_EQ(desktop->closedSessions(), closedBefore + 1) << "the old session is closed";

    ASSERT_TRUE(waitFor([&] { return status->isVisible(); }));
    EXPECT_EQ(status->text(), "The desktop assigned Ctrl+Alt+Y to this shortcut.");
    desktop->control().call("ChangeTrigger", toggleId, "Ctrl+Shift+F12");
    ASSERT_TRUE(waitFor([&] { return status->text().contains("Ctrl+Shift+F12"); }));

    tap();
    ASSERT_TRUE(waitFor([&] { return switches() == 1; }));
    desktop->control().call("AssignTrigger", toggleId, "");

    // Backspace while recording clears the key; the registry is paused then, so the desktop lets go of
    // it once recording ends.
    field->clearFocus();
    field->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(field->isRecording());
    QCoreApplication::processEvents(); // the pause is taken up: the binding is muted, not given up
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, 22, 0, 0);
    QApplication::sendEvent(field, &backspace);
    EXPECT_FALSE(getShortcut(TolvaShortcutReactor::toggleSystemBrowserKeys()));
    field->clearFocus();
    ASSERT_TRUE(waitFor([&] { return desktop->closedSessions() == closedBefore + 2; }));
}

TEST_F(PortalShortcuts, RefusedBindIsOneLogLineAndARestartedPortalBindsAgain) {
    const Name& name = TolvaShortcutReactor::toggleSystemBrowserKeys();
    startApplication(Shortcut(Key::k, controlOption));
    ASSERT_TRUE(waitForBinds(1));

    desktop->control().call("SetBindResponse", 1u);
    setShortcut(Shortcut(Key::j, controlOption), name);
    ASSERT_TRUE(waitForBinds(2));
    ASSERT_TRUE(waitFor([] { return !portalWarnings.isEmpty(); }));
    EXPECT_TRUE(portalWarnings[0].contains("refused")) << portalWarnings[0].toStdString();
    tap();

    // The user picks a key again: the set is tried anew, and this time the desktop agrees.
    desktop->control().call("SetBindResponse", 0u);
    setShortcut(Shortcut(Key::l, controlOption), name);
    ASSERT_TRUE(waitForBinds(3));
    EXPECT_EQ(switches(), 0) << "nothing was bound to deliver the earlier press";

    desktop->stopFrontend();
    ASSERT_TRUE(desktop->startFrontend());
    ASSERT_TRUE(waitForBinds(4)) << "the whole set is bound again when the portal returns";
    EXPECT_EQ(lastBound().value("shortcuts").toArray()[0].toObject().value("preferred_trigger").toString(),
              "CTRL+ALT+l");
    tap();
    ASSERT_TRUE(waitFor([&] { return switches() == 1; })) << desktop->frontendLog().toStdString();
    EXPECT_EQ(portalWarnings.size(), 2)
        << "the refusal and the portal going away, once each: " << portalWarnings.join('\n').toStdString();
}

// What the desktop answers decides what is bound, not the answer's code: GNOME approves with 2 and
// the list; a back end that ignored the list (Plasma 5.27 asked only through BindShortcuts) answers 0
// without it, and the Shortcuts tab says the key does nothing.
TEST_F(PortalShortcuts, TheAnswersListDecidesWhetherTheShortcutIsBound) {
    const Name& name = TolvaShortcutReactor::toggleSystemBrowserKeys();
    desktop->control().call("SetBindResponse", 2u);
    startApplication(Shortcut(Key::g, controlOption));
    ASSERT_TRUE(waitForBinds(1));
    tap();
    ASSERT_TRUE(waitFor([&] { return switches() == 1; })) << "bound although the code was 2";

    desktop->control().call("SetBindResponse", 0u);
    desktop->control().call("SetBindListsShortcuts", false);
    SettingsWindow window;
    window.view()->tabs()->setCurrentIndex(1);
    window.show();
    auto* status = window.findChild<QLabel*>("globalShortcutStatus");
    ASSERT_NE(status, nullptr);
    setShortcut(Shortcut(Key::h, controlOption), name);
    ASSERT_TRUE(waitForBinds(2));
    ASSERT_TRUE(waitFor([&] { return status->isVisible(); }));
    EXPECT_EQ(status->text(), "The desktop did not take this shortcut. Choose another key to try again.");
    ASSERT_EQ(portalWarnings.size(), 1);
    EXPECT_TRUE(portalWarnings[0].contains("without binding")) << portalWarnings[0].toStdString();

    // The next change tries again.
    desktop->control().call("SetBindListsShortcuts", true);
    setShortcut(Shortcut(Key::i, controlOption), name);
    ASSERT_TRUE(waitForBinds(3));
    ASSERT_TRUE(waitFor([&] { return status->isHidden(); })) << status->text().toStdString();
}

// The session lives while the key is wanted: switching "Change browser" off or clearing the key
// closes it (the desktop lets go of the key), switching on binds again, and a session the desktop
// closes on its own is bound anew.
TEST_F(PortalShortcuts, SessionFollowsTheFeatureTheStoredKeyAndTheDesktop) {
    const Name& name = TolvaShortcutReactor::toggleSystemBrowserKeys();
    SettingsStore::setBool(SettingsStore::toggleBrowser, false);
    startApplication(Shortcut(Key::u, controlOption));

    SettingsStore::setBool(SettingsStore::toggleBrowser, true);
    ASSERT_TRUE(waitForBinds(1));
    // The earlier case's session is closed before a new one opens.
    const int closedBefore = desktop->closedSessions();
    EXPECT_EQ(desktop->binds().size(), bindsBefore + 1) << "nothing was bound while the feature was off";
    SettingsStore::setBool(SettingsStore::toggleBrowser, false);
    ASSERT_TRUE(waitFor([&] { return desktop->closedSessions() == closedBefore + 1; }));
    tap();

    SettingsStore::setBool(SettingsStore::toggleBrowser, true);
    ASSERT_TRUE(waitForBinds(2));
    desktop->control().call("CloseSessions");
    ASSERT_TRUE(waitForBinds(3)) << "a session the desktop closed is bound again";
    tap();
    ASSERT_TRUE(waitFor([&] { return switches() == 1; }));

    setShortcut(std::nullopt, name);
    ASSERT_TRUE(waitFor([&] { return desktop->closedSessions() == closedBefore + 2; }));
    EXPECT_EQ(QDBusReply<int>(desktop->control().call("OpenSessions")).value(), 0);
    EXPECT_TRUE(portalWarnings.isEmpty()) << portalWarnings.join('\n').toStdString();
}

} // namespace
