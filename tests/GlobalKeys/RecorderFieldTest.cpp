// SPDX-License-Identifier: GPL-3.0-or-later
#include "GlobalKeys/GlobalKeys.h"
#include "GlobalKeys/RecorderField/Recorder.h"
#include "GlobalKeysFixture.h"
#include "platform/fake/FakeAlert.h"

#include <QAccessible>
#include <QApplication>
#include <QFormLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace GlobalKeys;

namespace {

// A window that counts the mouse releases it is given.
class Host : public QWidget {
public:
    int releases = 0;

protected:
    void mouseReleaseEvent(QMouseEvent*) override { ++releases; }
};

class RecorderFieldTest : public GlobalKeysTest {
protected:
    static constexpr std::uint32_t nativeOffset = 8; // X keycodes start at 8
    std::shared_ptr<platform::fake::FakeAlert> alerts = std::make_shared<platform::fake::FakeAlert>();
    platform::Override<platform::Alert> alertGuard{alerts};
    const Name name{QStringLiteral("recorderTest")};
    QList<std::optional<Shortcut>> changes;
    int beeps = 0;
    std::unique_ptr<Host> window;
    RecorderField* field = nullptr;
    QLineEdit* other = nullptr;

    void SetUp() override {
        GlobalKeysTest::SetUp();
        layout->nativeOffset = nativeOffset;
        window = std::make_unique<Host>();
        auto* column = new QVBoxLayout(window.get());
        column->setContentsMargins(40, 40, 40, 40);
        column->setSpacing(20);
        field = new RecorderField(name, [this](const std::optional<Shortcut>& s) { changes << s; });
        field->setBeeper([this] { ++beeps; });
        other = new QLineEdit;
        column->addWidget(field);
        column->addWidget(other);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        drainMainQueue(); // the focus guard lets go on the next turn
        // As a real message box does: another window takes activation and the event loop runs
        // (queued calls, deferred deletions) until the box is dismissed.
        alerts->onShow = [](const platform::AlertRequest&) {
            QWidget box;
            box.show();
            box.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&box));
            for (int i = 0; i < 3; ++i) {
                QCoreApplication::processEvents();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
            box.hide();
            QCoreApplication::processEvents();
        };
    }
    void TearDown() override {
        window.reset();
        GlobalKeysTest::TearDown();
    }

    // A click on the field, away from its clear button.
    void startRecording() {
        QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(8, field->height() / 2));
        ASSERT_TRUE(field->isRecording());
    }
    // A key as the platform reports it: Qt key plus the native key code the layout maps to Carbon.
    void press(int qtKey, std::int64_t carbonCode, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, qtKey, modifiers, std::uint32_t(carbonCode) + nativeOffset, 0, 0);
            QApplication::sendEvent(target, &event);
        }
    }
    std::optional<Shortcut> storedShortcut() const { return getShortcut(name); }
    // The window manager gives activation back once the alert is gone.
    void reactivate() {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        drainMainQueue();
    }
};

TEST_F(RecorderFieldTest, IdleAndRecordingStates) {
    EXPECT_EQ(field->placeholderText(), "Record Shortcut");
    EXPECT_EQ(field->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_GE(field->sizeHint().width(), 130);
    EXPECT_FALSE(field->cancelButton()->isVisible()) << "no clear button while empty";
    startRecording();
    const QString hint = QString::fromUtf8("Press a shortcut… Esc cancels, Backspace clears");
    EXPECT_EQ(field->placeholderText(), hint);
    EXPECT_GE(field->sizeHint().width(), field->fontMetrics().horizontalAdvance(hint)) << "the hint fits";
    // Drawn, although the field has the focus (a centred line edit hides its placeholder then).
    const QImage withHint = field->grab().toImage();
    field->setPlaceholderText(QString());
    EXPECT_NE(field->grab().toImage(), withHint) << "the hint is not on screen";
    field->setPlaceholderText(hint);
    EXPECT_TRUE(isPaused());
    other->setFocus();
    EXPECT_FALSE(field->isRecording());
    EXPECT_FALSE(isPaused());
    EXPECT_EQ(field->placeholderText(), "Record Shortcut");

    // With a shortcut stored, the hint takes its place while recording; the clear button stays.
    setShortcut(Shortcut(Key::f6, {}), name);
    startRecording();
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_TRUE(field->cancelButton()->isVisible());
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(field->text(), "F6");
}

TEST_F(RecorderFieldTest, RecordingStartsOnClickSpaceOrReturnNotOnTabAndFocusStays) {
    other->setFocus();
    QTest::keyClick(other, Qt::Key_Backtab);
    ASSERT_TRUE(field->hasFocus());
    EXPECT_FALSE(field->isRecording()) << "moving through the window with Tab must not start recording";
    QTest::keyClick(field, Qt::Key_Space);
    EXPECT_TRUE(field->isRecording());
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(field->isRecording());
    EXPECT_TRUE(field->hasFocus()) << "Escape keeps the focus on the field";
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(field->isRecording());
    press(Qt::Key_F5, Key::f5.rawValue);
    EXPECT_EQ(storedShortcut(), Shortcut(Key::f5, {}));
    EXPECT_FALSE(field->isRecording());
    EXPECT_TRUE(field->hasFocus()) << "a recorded shortcut keeps the focus on the field";
    EXPECT_EQ(beeps, 0);
    // A click on the focused field records again.
    startRecording();
}

TEST_F(RecorderFieldTest, FunctionKeysNeedNoModifierOthersDo) {
    startRecording();
    press(Qt::Key_A, Key::a.rawValue);
    press(Qt::Key_A, Key::a.rawValue, Qt::ShiftModifier);
    EXPECT_EQ(beeps, 2);
    EXPECT_FALSE(storedShortcut());
    EXPECT_TRUE(field->isRecording()) << "a refused key keeps recording";

    press(Qt::Key_F5, Key::f5.rawValue);
    EXPECT_EQ(storedShortcut(), Shortcut(Key::f5, {}));
    EXPECT_EQ(field->text(), "F5");
    EXPECT_FALSE(field->isRecording()) << "a recorded shortcut ends recording";
    EXPECT_TRUE(field->cancelButton()->isVisible());
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes[0], Shortcut(Key::f5, {}));

    startRecording();
    press(Qt::Key_F5, Key::f5.rawValue, Qt::ShiftModifier);
    EXPECT_EQ(storedShortcut(), Shortcut(Key::f5, Qt::ShiftModifier));
    EXPECT_EQ(beeps, 2);
}

TEST_F(RecorderFieldTest, ModifiedLetterIsStoredAndAnnounced) {
    startRecording();
    // The modifiers go down first, each as a key press of its own: neither refused nor recorded.
    press(Qt::Key_Control, Key::control.rawValue, Qt::ControlModifier);
    press(Qt::Key_Alt, Key::option.rawValue, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(beeps, 0);
    EXPECT_FALSE(storedShortcut());
    EXPECT_TRUE(field->isRecording());
    press(Qt::Key_B, Key::b.rawValue, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(storedShortcut(), Shortcut(Key::b, Qt::ControlModifier | Qt::AltModifier));
    EXPECT_EQ(field->text(), "Ctrl+Alt+B") << "shown as the desktop writes it";
    EXPECT_TRUE(posted.contains(name.rawValue));
    EXPECT_FALSE(isPaused());
}

TEST_F(RecorderFieldTest, EscapeEndsWithoutChangeButSuperEscapeIsACandidate) {
    setShortcut(Shortcut(Key::f6, {}), name);
    startRecording();
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(field->isRecording());
    EXPECT_EQ(storedShortcut(), Shortcut(Key::f6, {}));
    EXPECT_TRUE(changes.isEmpty());

    startRecording();
    press(Qt::Key_Escape, Key::escape.rawValue, Qt::MetaModifier);
    EXPECT_EQ(storedShortcut(), Shortcut(Key::escape, Qt::MetaModifier));
}

TEST_F(RecorderFieldTest, BackspaceAndDeleteClearAndKeepRecording) {
    setShortcut(Shortcut(Key::f6, {}), name);
    EXPECT_EQ(field->text(), "F6") << "the stored change is shown";
    for (int key : {Qt::Key_Backspace, Qt::Key_Delete}) {
        setShortcut(Shortcut(Key::f6, {}), name);
        changes.clear();
        startRecording();
        QTest::keyClick(field, Qt::Key(key));
        EXPECT_FALSE(storedShortcut()) << key;
        EXPECT_FALSE(hasEntry(name.rawValue));
        ASSERT_EQ(changes.size(), 1);
        EXPECT_FALSE(changes[0].has_value());
        EXPECT_TRUE(field->text().isEmpty());
        EXPECT_TRUE(field->hasFocus());
        EXPECT_TRUE(field->isRecording());
        EXPECT_TRUE(isPaused());
    }
}

TEST_F(RecorderFieldTest, TabAndShiftTabEndRecordingAndMoveOn) {
    auto* before = new QLineEdit; // last in the chain, so just before the field going backwards
    window->layout()->addWidget(before);
    before->show();
    startRecording();
    QTest::keyClick(field, Qt::Key_Tab);
    EXPECT_TRUE(other->hasFocus());
    EXPECT_FALSE(field->isRecording());

    // X reports Shift+Tab as Backtab with Shift still held.
    startRecording();
    press(Qt::Key_Backtab, Key::tab.rawValue, Qt::ShiftModifier);
    EXPECT_TRUE(before->hasFocus()) << "Shift+Tab moves focus backwards";
    EXPECT_FALSE(field->isRecording());
    EXPECT_FALSE(storedShortcut());
    EXPECT_EQ(beeps, 0);
}

TEST_F(RecorderFieldTest, BackspaceInAnEmptyRecorderChangesNothing) {
    startRecording();
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_TRUE(changes.isEmpty()) << "nothing was stored, so nothing changed";
    EXPECT_TRUE(posted.isEmpty());
    EXPECT_TRUE(field->isRecording());
    EXPECT_EQ(beeps, 0);
}

TEST_F(RecorderFieldTest, TheFieldIsNamedByItsFormLabel) {
    QWidget form;
    auto* rows = new QFormLayout(&form);
    auto* recorder = new Recorder(name);
    rows->addRow(QStringLiteral("&Shortcut"), recorder);
    auto* labelled = new Recorder(QStringLiteral("Other"), Name(QStringLiteral("other")));
    rows->addRow(labelled);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(recorder->field());
    ASSERT_TRUE(accessible);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Shortcut");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(labelled->field())->text(QAccessible::Name), "Other");
    // The label's mnemonic takes the keyboard to the field itself.
    EXPECT_EQ(recorder->focusProxy(), recorder->field());
}

TEST_F(RecorderFieldTest, MenuItemShortcutIsRefusedWithAlert) {
    QMenu tray; // a top-level menu, as the tray's is
    QMenu sub(QStringLiteral("More"));
    tray.addAction(QStringLiteral("Settings…"));
    sub.addAction(QStringLiteral("&Quit"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    tray.addMenu(&sub);
    startRecording();
    press(Qt::Key_Q, Key::q.rawValue, Qt::ControlModifier);
    ASSERT_EQ(alerts->shown.size(), 1);
    EXPECT_EQ(alerts->shown[0].messageText.toStdString(), "The menu item “Quit” already has this shortcut.");
    EXPECT_EQ(alerts->shown[0].style, platform::AlertRequest::Style::Warning);
    EXPECT_TRUE(alerts->shown[0].buttons.isEmpty());
    EXPECT_EQ(alerts->shown[0].window, window.get()) << "modal on the window it concerns";
    EXPECT_FALSE(storedShortcut());
    EXPECT_TRUE(changes.isEmpty());
    reactivate();
    EXPECT_TRUE(field->isRecording()) << "recording resumes after the alert";

    press(Qt::Key_W, Key::w.rawValue, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(storedShortcut(), Shortcut(Key::w, Qt::ControlModifier | Qt::AltModifier))
        << "other keys are free";
}

TEST_F(RecorderFieldTest, SystemConflictAsksAndOnlyTheSecondButtonStores) {
    symbolic->entries = {{true, int(Key::f6.rawValue), int(cmdKey)}, {true, int(Key::f12.rawValue), 0}};
    startRecording();
    alerts->answers = {0};
    press(Qt::Key_F6, Key::f6.rawValue, Qt::MetaModifier);
    ASSERT_EQ(alerts->shown.size(), 1);
    EXPECT_EQ(alerts->shown[0].messageText.toStdString(), "The desktop already reserves this shortcut.");
    EXPECT_EQ(alerts->shown[0].buttons, (QStringList{"OK", "Use It Anyway"}));
    EXPECT_FALSE(storedShortcut());
    reactivate();
    EXPECT_TRUE(field->isRecording());

    alerts->answers = {1};
    press(Qt::Key_F6, Key::f6.rawValue, Qt::MetaModifier);
    EXPECT_EQ(alerts->shown.size(), 2);
    EXPECT_EQ(storedShortcut(), Shortcut(Key::f6, Qt::MetaModifier));
    ASSERT_EQ(changes.size(), 1);
    reactivate();
    EXPECT_FALSE(field->isRecording()) << "a forced shortcut is stored; recording does not start again";
    EXPECT_TRUE(field->hasFocus());
    EXPECT_FALSE(isPaused());
    EXPECT_EQ(changes.size(), 1);

    // Plain F12 is reserved too, but never compared.
    startRecording();
    press(Qt::Key_F12, Key::f12.rawValue);
    EXPECT_EQ(alerts->shown.size(), 2);
    EXPECT_EQ(storedShortcut(), Shortcut(Key::f12, {}));
}

TEST_F(RecorderFieldTest, AShortcutTheSystemRefusesIsNotAccepted) {
    setShortcut(Shortcut(Key::f6, {}), name);
    hotKeys->refused.insert({std::uint32_t(Key::b.rawValue), std::uint32_t(controlKey | optionKey)});
    startRecording();
    press(Qt::Key_B, Key::b.rawValue, Qt::ControlModifier | Qt::AltModifier);
    ASSERT_EQ(alerts->shown.size(), 1);
    EXPECT_EQ(alerts->shown[0].style, platform::AlertRequest::Style::Warning);
    EXPECT_EQ(alerts->shown[0].messageText.toStdString(), "Another application already uses this shortcut.");
    EXPECT_TRUE(alerts->shown[0].buttons.isEmpty()) << "it cannot be forced";
    EXPECT_EQ(storedShortcut(), Shortcut(Key::f6, {})) << "the stored shortcut stays";
    EXPECT_TRUE(changes.isEmpty());
    EXPECT_EQ(field->text(), "F6");
    EXPECT_FALSE(registeredShortcuts().count(Shortcut(Key::b, Qt::ControlModifier | Qt::AltModifier)));
    EXPECT_EQ(CarbonGlobalKeys::hotKeys().size(), 1u) << "nothing of the refused one is left waiting";
    reactivate();
    EXPECT_TRUE(field->isRecording());
}

TEST_F(RecorderFieldTest, AWindowShortcutOfApplicationsWarnsBeforeItIsTaken) {
    const Shortcut ctrlW(Key::w, Qt::ControlModifier);
    ASSERT_TRUE(QKeySequence::keyBindings(QKeySequence::Close).contains(QKeySequence(Qt::CTRL | Qt::Key_W)));
    startRecording();
    alerts->answers = {0};
    press(Qt::Key_W, Key::w.rawValue, Qt::ControlModifier);
    ASSERT_EQ(alerts->shown.size(), 1);
    EXPECT_EQ(alerts->shown[0].style, platform::AlertRequest::Style::Warning);
    EXPECT_TRUE(alerts->shown[0].messageText.contains("Ctrl+W"))
        << alerts->shown[0].messageText.toStdString();
    EXPECT_EQ(alerts->shown[0].buttons, (QStringList{"OK", "Use It Anyway"}));
    EXPECT_FALSE(storedShortcut());
    reactivate();
    EXPECT_TRUE(field->isRecording());

    alerts->answers = {1};
    press(Qt::Key_W, Key::w.rawValue, Qt::ControlModifier);
    EXPECT_EQ(storedShortcut(), ctrlW);
    EXPECT_EQ(changes, QList<std::optional<Shortcut>>{ctrlW});
}

TEST_F(RecorderFieldTest, ClickJustOutsideIsSwallowedFartherOutEndsRecording) {
    startRecording();
    const QRect edge = field->geometry(); // in the host's coordinates
    const QPoint near(edge.right() + 1 + 2, edge.center().y());
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, near);
    EXPECT_TRUE(field->isRecording());
    EXPECT_EQ(window->releases, 0);

    const QPoint far(edge.center().x(), edge.bottom() + 1 + 4);
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, far);
    EXPECT_FALSE(field->isRecording());
    EXPECT_EQ(window->releases, 1);
}

TEST_F(RecorderFieldTest, ClicksAfterTheClearButtonStillEndRecording) {
    setShortcut(Shortcut(Key::f6, {}), name);
    startRecording();
    ASSERT_FALSE(CarbonGlobalKeys::isEnabled()) << "hot keys are let go while recording";
    QToolButton* clear = nullptr;
    for (QToolButton* button : field->findChildren<QToolButton*>())
        if (button->isVisible())
            clear = button;
    ASSERT_TRUE(clear);
    QTest::mouseClick(clear, Qt::LeftButton);
    EXPECT_FALSE(storedShortcut());
    ASSERT_TRUE(field->isRecording()) << "clearing keeps recording";

    // Two clicks on the window's background, each a new event whatever its address.
    const QPoint background(5, 5);
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, background);
    QTest::mouseClick(window.get(), Qt::LeftButton, {}, background);
    EXPECT_FALSE(field->isRecording());
    EXPECT_TRUE(CarbonGlobalKeys::isEnabled()) << "hot keys come back";
    EXPECT_FALSE(isPaused());
    EXPECT_EQ(window->releases, 2) << "each release reaches the window once";
}

TEST_F(RecorderFieldTest, WindowBecomingActiveDoesNotStartRecording) {
    window->hide();
    window->show();
    window->activateWindow();
    field->setFocus(Qt::ActiveWindowFocusReason); // as Qt restores focus on activation
    EXPECT_FALSE(field->isRecording());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    drainMainQueue();
    EXPECT_FALSE(field->isRecording());
    EXPECT_TRUE(field->canBecomeKey()) << "only for the turn in which the window became active";
}

TEST_F(RecorderFieldTest, LabelledRecorderAndNameChange) {
    Recorder recorder(QStringLiteral("Shortcut"), name);
    Recorder wide(QStringLiteral("A much longer label"), Name(QStringLiteral("other")));
    EXPECT_EQ(recorder.label()->text(), "Shortcut");
    Recorder::alignControls({&recorder, &wide});
    EXPECT_EQ(recorder.alignmentGuide({}), wide.alignmentGuide({}));

    setShortcut(Shortcut(Key::f7, {}), Name(QStringLiteral("other")));
    EXPECT_EQ(wide.field()->text(), "F7");
    recorder.field()->setShortcutName(Name(QStringLiteral("other")));
    EXPECT_EQ(recorder.field()->text(), "F7");
}

} // namespace
