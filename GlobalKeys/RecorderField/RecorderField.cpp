// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecorderField.h"

#include "GlobalKeys/CarbonGlobalKeys.h"
#include "GlobalKeys/DesktopNotation.h"
#include "GlobalKeys/MenuItemBinding.h"
#include "GlobalKeys/Notifier.h"
#include "GlobalKeys/Shortcuts.h"
#include "GlobalKeys/resource_bundle_accessor/ResourceBundle.h"
#include "platform/Alert.h"
#include "platform/Services.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace GlobalKeys {
namespace {

constexpr Qt::KeyboardModifiers shortcutModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// Keypad and group-switch flags say where a key is, not what the user holds.
bool hasNoModifiers(const QKeyEvent* key) {
    return (key->modifiers() & shortcutModifiers) == Qt::NoModifier;
}

bool hasAtMostShift(const QKeyEvent* key) {
    return (key->modifiers() & (shortcutModifiers & ~Qt::ShiftModifier)) == Qt::NoModifier;
}

// Qt reports a modifier going down as a key press of its own; other platforms report only a change
// of flags. It is part of the shortcut being typed, not a key to record.
bool isModifierKey(int key) {
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
        return true;
    default:
        return false;
    }
}

bool isFunctionKey(int key) {
    return key >= Qt::Key_F1 && key <= Qt::Key_F35;
}

// A shortcut that applications bind to a standard command of their windows (Close, Copy, Quit,
// Find, ...). Plain keys do not count: F5 alone is only a function key to record.
bool isStandardWindowShortcut(const Shortcut& shortcut) {
    const QKeySequence sequence = menuKeySequence(shortcut);
    if (sequence.isEmpty() ||
        !(sequence[0].keyboardModifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    for (int key = QKeySequence::HelpContents; key <= QKeySequence::Cancel; ++key)
        for (const QKeySequence& binding : QKeySequence::keyBindings(QKeySequence::StandardKey(key)))
            if (binding.count() == 1 && binding[0] == sequence[0])
                return true;
    return false;
}

QString itemTitle(const QAction* action) {
    QString title = action->text();
    // Keep literal ampersands ("&&"), drop mnemonic markers.
    title.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    title.remove(QLatin1Char('&'));
    title.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return title;
}

bool actionHasShortcut(const QAction* action, const QKeyCombination& wanted) {
    for (const QKeySequence& sequence : action->shortcuts()) {
        if (sequence.count() == 1 && sequence[0] == wanted)
            return true;
    }
    return false;
}

QAction* searchMenu(const QMenu* menu, const QKeyCombination& wanted) {
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        if (actionHasShortcut(action, wanted))
            return action;
        if (const QMenu* sub = action->menu()) {
            if (QAction* found = searchMenu(sub, wanted))
                return found;
        }
    }
    return nullptr;
}

} // namespace

RecorderField::RecorderField(const Name& name, OnChange onChange, QWidget* parent)
    : QLineEdit(parent), shortcutName_(name), onChange_(std::move(onChange)),
      beep_([] { QApplication::beep(); }) {
    setPlaceholderText(localizedString("record_shortcut"));
    setAlignment(Qt::AlignCenter);
    // Nothing is ever typed into the field; read-only also keeps the caret from being drawn.
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    // As wide as the recording hint where there is room; narrower (the hint elided) on a small screen.
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);

    // Our own clear button: the built-in one is switched off in read-only fields.
    cancelButton_ =
        addAction(style()->standardIcon(QStyle::SP_LineEditClearButton), QLineEdit::TrailingPosition);
    cancelButton_->setObjectName(QStringLiteral("clearButton"));
    // The text names the button for screen readers; only the icon is drawn.
    cancelButton_->setText(tr("Clear"));
    cancelButton_->setToolTip(tr("Clear"));
    connect(cancelButton_, &QAction::triggered, this, &RecorderField::clearPressed);

    refreshText();

    QPointer<RecorderField> self(this);
    shortcutsNameChangeObserver_ =
        connect(&notifier(), &Notifier::shortcutByNameDidChange, this, [self](const Name& changed) {
            if (self && changed == self->shortcutName_)
                self->refreshText();
        });
}

RecorderField::~RecorderField() {
    disconnect(shortcutsNameChangeObserver_);
    endRecording();
}

void RecorderField::setShortcutName(const Name& name) {
    if (name == shortcutName_) {
        shortcutName_ = name;
        return;
    }
    shortcutName_ = name;
    refreshText();
    QTimer::singleShot(0, this, [this] { giveUpFocus(); });
}

void RecorderField::setMinimumWidth(double width) {
    minimumWidth_ = width;
    updateGeometry();
}

void RecorderField::refreshText() {
    const auto shortcut = getShortcut(shortcutName_);
    setText(shortcut ? desktopNotation(*shortcut) : QString());
    updateCancelButton();
}

void RecorderField::updateCancelButton() {
    // While recording the hint stands where the shortcut was; it can still be cleared.
    cancelButton_->setVisible(isRecording() ? getShortcut(shortcutName_).has_value() : !text().isEmpty());
}

QSize RecorderField::sizeHint() const {
    // Wide enough for the recording hint, so the field does not change size when recording starts.
    const QString hint = localizedString("press_shortcut");
    const int clearButton = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this) + 8;
    const int hintWidth = fontMetrics().horizontalAdvance(hint) + 2 * clearButton + 8;
    return QSize(std::max(qRound(minimumWidth_), hintWidth), QLineEdit::sizeHint().height());
}

QSize RecorderField::minimumSizeHint() const {
    return QSize(qRound(minimumWidth_), sizeHint().height());
}

void RecorderField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    const bool asked = std::exchange(pendingRefocus_, false);
    // A click records; Tab, a label's mnemonic or the window becoming active only bring the focus
    // (Space or Return then record), as the desktop's own shortcut editors do.
    if (asked || (event->reason() == Qt::MouseFocusReason && canBecomeKey_))
        startRecording();
}

void RecorderField::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    if (hasFocus() && canBecomeKey_)
        startRecording();
}

void RecorderField::keyPressEvent(QKeyEvent* event) {
    // Only seen while not recording: the monitor takes every key while recording.
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (plain &&
        (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        startRecording();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void RecorderField::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    // A centred line edit hides its placeholder while it has the focus, which is just when recording
    // shows its hint: drawn here, centred between the frame and the clear button.
    if (!isRecording() || !text().isEmpty())
        return;
    QStyleOptionFrame option;
    initStyleOption(&option);
    QRect area = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const int button = cancelButton_->isVisible() ? height() : 0;
    area.adjust(button, 0, -button, 0);
    QPainter painter(this);
    painter.setPen(palette().placeholderText().color());
    painter.drawText(area, Qt::AlignCenter,
                     fontMetrics().elidedText(placeholderText(), Qt::ElideRight, area.width()));
}

void RecorderField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    endRecording();
}

void RecorderField::showEvent(QShowEvent* event) {
    QLineEdit::showEvent(event);
    focusGuard();
}

void RecorderField::hideEvent(QHideEvent* event) {
    QLineEdit::hideEvent(event);
    endRecording();
}

bool RecorderField::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // While recording, a key that some action uses must come here, not trigger the action.
        if (isRecording()) {
            event->accept();
            return true;
        }
        break;
    case QEvent::WindowActivate:
        focusGuard();
        break;
    case QEvent::WindowDeactivate:
        endRecording();
        if (hasFocus())
            clearFocus();
        break;
    default:
        break;
    }
    return QLineEdit::event(event);
}

void RecorderField::focusGuard() {
    canBecomeKey_ = false;
    QTimer::singleShot(0, this, [this] { canBecomeKey_ = true; });
}

void RecorderField::stopRecording() {
    // No refocus still asked for: it would start recording again on the next activation.
    pendingRefocus_ = false;
    endRecording();
}

void RecorderField::giveUpFocus() {
    // Also when the window is inactive (after an alert): focus kept there, or a refocus still asked
    // for, would start recording when the window is next activated.
    pendingRefocus_ = false;
    if (hasFocus() || focusWidget() == this)
        clearFocus();
    endRecording();
}

void RecorderField::startRecording() {
    if (isRecording())
        return;
    setPlaceholderText(localizedString("press_shortcut"));
    setPaused(true);
    // X11 hands grabbed keys to the grabbing connection, never to the focused window, so the
    // registered hot keys are let go while recording; an existing shortcut can then be recorded.
    hotKeysWereEnabled_ = CarbonGlobalKeys::isEnabled();
    if (hotKeysWereEnabled_)
        CarbonGlobalKeys::setEnabled(false);
    QPointer<RecorderField> self(this);
    const std::uint64_t generation = ++monitorGeneration_;
    eventMonitor_ = std::make_shared<LocalEventMonitor>(
        eventMaskBit(leftMouseUpEvent) | eventMaskBit(rightMouseUpEvent) | eventMaskBit(keyDownEvent),
        [self, generation](QEvent* event) -> QEvent* {
            if (!self)
                return nullptr;
            // A monitor that recording has already let go of passes everything on.
            if (self->monitorGeneration_ != generation)
                return event;
            // Recording may end inside the handler, and its alerts run an event loop: this monitor
            // and the closure being run must outlive the call. Nothing captured is read afterwards.
            const std::shared_ptr<LocalEventMonitor> keep = self->eventMonitor_;
            return self->handleRecorderEvent(event);
        });
    eventMonitor_->start();
    setText(QString());
    updateCancelButton();
    update(); // the hint is ours to draw; the line edit does not repaint for it
    // The desktop's own shortcuts (Super+L) are recorded instead of fired: an X keyboard grab. Qt's
    // Wayland client has no way to inhibit them, so there this grabs only within the application.
    grabKeyboard();
}

void RecorderField::endRecording() {
    if (!eventMonitor_)
        return;
    ++monitorGeneration_;
    eventMonitor_.reset();
    if (keyboardGrabber() == this)
        releaseKeyboard();
    setPlaceholderText(localizedString("record_shortcut"));
    refreshText();
    if (hotKeysWereEnabled_)
        CarbonGlobalKeys::setEnabled(true);
    hotKeysWereEnabled_ = false;
    setPaused(false);
}

void RecorderField::clearPressed() {
    setText(QString());
    textDidChange();
}

void RecorderField::textDidChange() {
    const bool empty = text().isEmpty();
    // Clearing an empty recorder changes nothing, so nothing is reported.
    if (empty && getShortcut(shortcutName_)) {
        setShortcut(std::nullopt, shortcutName_);
        if (onChange_)
            onChange_(std::nullopt);
    }
    updateCancelButton();
    if (empty)
        refocus();
}

QAction* RecorderField::menuItemWithMatchingShortcut(const QMenu* menu, const Shortcut& shortcut) {
    const QKeySequence sequence = menuKeySequence(shortcut);
    if (!menu || sequence.isEmpty())
        return nullptr;
    return searchMenu(menu, sequence[0]);
}

QAction* RecorderField::applicationMenuItemWithMatchingShortcut(const Shortcut& shortcut) {
    const QKeySequence sequence = menuKeySequence(shortcut);
    if (sequence.isEmpty())
        return nullptr;
    const QKeyCombination wanted = sequence[0];
    const QWidgetList windows = QApplication::topLevelWidgets();
    // Menu bars of the application's windows first (the main menu), then its own top-level menus,
    // such as the tray menu. Submenus are searched through their parent menus.
    for (QWidget* window : windows) {
        for (const QMenuBar* bar : window->findChildren<QMenuBar*>()) {
            for (QAction* action : bar->actions()) {
                if (actionHasShortcut(action, wanted))
                    return action;
                if (const QMenu* sub = action->menu())
                    if (QAction* found = searchMenu(sub, wanted))
                        return found;
            }
        }
    }
    for (QWidget* window : windows) {
        const auto* menu = qobject_cast<const QMenu*>(window);
        if (!menu || menu->menuAction()->associatedObjects().size() > 0)
            continue;
        if (QAction* found = searchMenu(menu, wanted))
            return found;
    }
    return nullptr;
}

QEvent* RecorderField::handleRecorderEvent(QEvent* event) {
    const int type = eventTypeNumber(event);
    if (type == leftMouseUpEvent || type == rightMouseUpEvent) {
        const auto* mouse = static_cast<const QMouseEvent*>(event);
        const QPoint point = mapFromGlobal(mouse->globalPosition()).toPoint();
        if (!rect().adjusted(-3, -3, 3, 3).contains(point)) {
            giveUpFocus();
            return event;
        }
        // The clear button takes its own clicks, as a search field's does.
        for (QWidget* button : findChildren<QWidget*>()) {
            if (button->isVisible() && button->actions().contains(cancelButton_) &&
                button->geometry().contains(point))
                return event;
        }
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return nullptr;

    const auto* key = static_cast<const QKeyEvent*>(event);
    if (isModifierKey(key->key()))
        return nullptr;
    // X reports Shift+Tab as Backtab with Shift still held.
    if ((hasNoModifiers(key) && key->key() == Qt::Key_Tab) ||
        (hasAtMostShift(key) && key->key() == Qt::Key_Backtab)) {
        // Giving focus up first would make Tab start over at the window's first control; the event
        // moves focus on from here, and a lone control lets it go afterwards.
        QTimer::singleShot(0, this, [this] {
            if (hasFocus())
                giveUpFocus();
        });
        return event;
    }
    if (hasNoModifiers(key) && key->key() == Qt::Key_Escape) {
        stopRecording();
        return nullptr;
    }
    if (hasNoModifiers(key) && (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete)) {
        if (cancelButton_)
            cancelButton_->trigger();
        return nullptr;
    }
    if (hasAtMostShift(key) && !isFunctionKey(key->key())) {
        beep_();
        return nullptr;
    }
    const auto shortcut = Shortcut::fromEvent(event);
    if (!shortcut) {
        beep_();
        return nullptr;
    }

    QPointer<RecorderField> self(this);
    if (const QAction* item = applicationMenuItemWithMatchingShortcut(*shortcut)) {
        refuse(localizedString("keyboard_shortcut_used_by_menu_item").arg(itemTitle(item)));
        return nullptr;
    }

    const bool plainF12 = shortcut->carbonKeyCode == 111 && shortcut->carbonModifiers == 0;
    if (!plainF12) {
        const auto reserved = systemShortcuts();
        if (std::find(reserved.begin(), reserved.end(), *shortcut) != reserved.end()) {
            // The desktop holds the key itself: taking it anyway would only fail. Say so at once.
            if (CarbonGlobalKeys::isHeldByAnotherProgram(*shortcut)) {
                refuse(localizedString("keyboard_shortcut_held_by_system"),
                       localizedString("keyboard_shortcuts_can_be_changed"));
                return nullptr;
            }
            if (!confirmConflict(localizedString("keyboard_shortcut_used_by_system"),
                                 localizedString("keyboard_shortcuts_can_be_changed")))
                return nullptr;
        }
    }
    if (!self)
        return nullptr;

    if (isStandardWindowShortcut(*shortcut) &&
        !confirmConflict(
            localizedString("keyboard_shortcut_used_by_applications").arg(desktopNotation(*shortcut)),
            localizedString("keyboard_shortcut_taken_from_applications")))
        return nullptr;
    if (!self)
        return nullptr;

    // A key another program holds would never fire: refused like a reserved one, but not forcible.
    if (!setShortcutIfRegistered(*shortcut, shortcutName_)) {
        refuse(localizedString("keyboard_shortcut_used_by_other_application"));
        return nullptr;
    }
    if (onChange_)
        onChange_(*shortcut);
    // Shown by refreshText; the focus stays here, so Space or Return records again.
    stopRecording();
    return nullptr;
}

int RecorderField::runAlert(const QString& message, const QString& informative, const QStringList& buttons) {
    giveUpFocus();
    platform::AlertRequest alert;
    alert.style = platform::AlertRequest::Style::Warning;
    alert.messageText = message;
    alert.informativeText = informative;
    alert.buttons = buttons;
    alert.window = window();
    // The alert's loop may destroy this field; the caller checks before going on.
    QPointer<RecorderField> self(this);
    const int answer = platform::get<platform::Alert>()->runModal(alert);
    if (self)
        refocus();
    return answer;
}

void RecorderField::refuse(const QString& message, const QString& informative) {
    runAlert(message, informative, {});
}

bool RecorderField::confirmConflict(const QString& message, const QString& informative) {
    return runAlert(message, informative, {localizedString("ok"), localizedString("force_use_shortcut")}) ==
           1;
}

void RecorderField::refocus() {
    // Focus may come back only once the window is active again (after the alert); the guard that
    // runs on activation must not refuse it then.
    if (hasFocus() && isRecording())
        return;
    pendingRefocus_ = true;
    setFocus(Qt::OtherFocusReason);
}

} // namespace GlobalKeys
