// SPDX-License-Identifier: GPL-3.0-or-later
#include "MenuItemBinding.h"

#include "GlobalKeys/Notifier.h"
#include "GlobalKeys/ObjectAssociation.h"
#include "GlobalKeys/Shortcuts.h"

#include <QAction>
#include <QTimer>

#include <memory>

namespace GlobalKeys {
namespace {

struct Binding {
    Name name;
    QMetaObject::Connection observer;
    ~Binding() { QObject::disconnect(observer); }
};

ObjectAssociation<std::shared_ptr<Binding>>& observerSlot() {
    static ObjectAssociation<std::shared_ptr<Binding>> slot(AssociationPolicy::retainNonatomic);
    return slot;
}

int specialKey(char16_t c) {
    switch (c) {
    case 0x21A9:
        return Qt::Key_Return;
    case 0x232B:
        return Qt::Key_Backspace;
    case 0x2326:
        return Qt::Key_Delete;
    case 0x2198:
        return Qt::Key_End;
    case 0x238B:
        return Qt::Key_Escape;
    case 0x2196:
        return Qt::Key_Home;
    case 0x21E5:
        return Qt::Key_Tab;
    case 0x21DE:
        return Qt::Key_PageUp;
    case 0x21DF:
        return Qt::Key_PageDown;
    case 0x2191:
        return Qt::Key_Up;
    case 0x2192:
        return Qt::Key_Right;
    case 0x2193:
        return Qt::Key_Down;
    case 0x2190:
        return Qt::Key_Left;
    case 0x2612:
        return Qt::Key_Clear;
    case u' ':
        return Qt::Key_Space;
    default:
        return 0;
    }
}

void applyShortcut(QAction* action, const std::optional<Shortcut>& shortcut) {
    action->setShortcut(shortcut ? menuKeySequence(*shortcut) : QKeySequence());
}

} // namespace

QKeySequence menuKeySequence(const Shortcut& shortcut) {
    QString text = menuItemKeyEquivalent(shortcut);
    if (text.isEmpty())
        return {};
    Qt::KeyboardModifiers modifiers = shortcut.modifiers();
    bool keypad = false;
    if (text.size() == 2 && text[1] == QChar(0x20E3)) {
        modifiers |= Qt::KeypadModifier;
        keypad = true;
        text.chop(1);
    }
    if (text.size() != 1 && !(text.size() == 2 && text[0].isHighSurrogate()))
        return {};
    const char16_t c = text[0].unicode();
    int key = 0;
    if (c >= 0xF704 && c <= 0xF717)
        key = Qt::Key_F1 + (c - 0xF704);
    else if (keypad && c == u'\u21A9') // the same arrow as Return, on the keypad
        key = Qt::Key_Enter;
    else if (const int special = specialKey(c))
        key = special;
    else
        key = text.toUpper().toUcs4().value(0);
    if (key == 0)
        return {};
    return QKeySequence(QKeyCombination(modifiers, Qt::Key(key)));
}

void setShortcutName(QAction* action, const std::optional<Name>& name) {
    observerSlot().set(action, std::nullopt);
    if (!name) {
        action->setShortcut(QKeySequence());
        return;
    }
    applyShortcut(action, getShortcut(*name));
    auto binding = std::make_shared<Binding>();
    binding->name = *name;
    const Name bound = *name;
    binding->observer = QObject::connect(
        &notifier(), &Notifier::shortcutByNameDidChange, action, [action, bound](const Name& changed) {
            if (changed != bound)
                return;
            QTimer::singleShot(0, action, [action, bound] { applyShortcut(action, getShortcut(bound)); });
        });
    observerSlot().set(action, binding);
}

std::optional<Name> shortcutName(const QAction* action) {
    const auto binding = observerSlot().get(action);
    return binding ? std::optional<Name>((*binding)->name) : std::nullopt;
}

} // namespace GlobalKeys
