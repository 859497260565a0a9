// SPDX-License-Identifier: GPL-3.0-or-later
#include "GlobalKeys/Shortcut.h"
#include "GlobalKeys/DesktopNotation.h"
#include "GlobalKeys/MenuItemBinding.h"
#include "GlobalKeys/resource_bundle_accessor/ResourceBundle.h"
#include "GlobalKeysFixture.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTranslator>

using namespace GlobalKeys;

using ShortcutModel = GlobalKeysTest;

TEST_F(ShortcutModel, JsonFormIsCompactAndRoundTrips) {
    const Shortcut commandShiftA(Key::a, Qt::MetaModifier | Qt::ShiftModifier);
    EXPECT_EQ(commandShiftA.toJson(), R"({"carbonKeyCode":0,"carbonModifiers":768})");
    EXPECT_EQ(Shortcut::fromJson(commandShiftA.toJson()), commandShiftA);
    // Member order does not matter, extra members are ignored, numbers are taken as they stand.
    const auto reordered = Shortcut::fromJson(R"({"extra":"x","carbonModifiers":1024,"carbonKeyCode":6})");
    ASSERT_TRUE(reordered);
    EXPECT_EQ(reordered->carbonKeyCode, 6);
    EXPECT_EQ(reordered->carbonModifiers, 1024);
}

TEST_F(ShortcutModel, DecodingRefusesMissingOrNonIntegerMembers) {
    EXPECT_FALSE(Shortcut::fromJson(R"({"carbonKeyCode":0})"));
    EXPECT_FALSE(Shortcut::fromJson(R"({"carbonKeyCode":"0","carbonModifiers":256})"));
    EXPECT_FALSE(Shortcut::fromJson(R"({"carbonKeyCode":1.5,"carbonModifiers":256})"));
    EXPECT_FALSE(Shortcut::fromJson(R"({"carbonKeyCode":null,"carbonModifiers":256})"));
    // Integral, but outside the 64-bit range: no key code, not key 0.
    EXPECT_FALSE(Shortcut::fromJson(R"({"carbonKeyCode":1e300,"carbonModifiers":256})"));
    EXPECT_FALSE(Shortcut::fromJson(R"({"carbonKeyCode":9223372036854775808,"carbonModifiers":256})"));
    EXPECT_FALSE(Shortcut::fromJson(R"({"carbonKeyCode":0,"carbonModifiers":-1e19})"));
    EXPECT_EQ(Shortcut::fromJson(R"({"carbonKeyCode":-5,"carbonModifiers":256})"), Shortcut(-5, 256));
    EXPECT_FALSE(Shortcut::fromJson("[0,256]"));
    EXPECT_FALSE(Shortcut::fromJson("false"));
    EXPECT_FALSE(Shortcut::fromJson("{not json"));
}

TEST_F(ShortcutModel, ModifiersAreNormalisedToTheFourKnownBits) {
    EXPECT_EQ(Shortcut(0, 0x100 | 0x400).carbonModifiers, 0x100);
    EXPECT_EQ(Shortcut(0, 0x100 | 0x200 | 0x800 | 0x1000 | 0x4000).carbonModifiers, 0x1B00);
    EXPECT_EQ(toCarbonModifiers(Qt::MetaModifier), 256);
    EXPECT_EQ(toCarbonModifiers(Qt::ShiftModifier), 512);
    EXPECT_EQ(toCarbonModifiers(Qt::AltModifier), 2048);
    EXPECT_EQ(toCarbonModifiers(Qt::ControlModifier), 4096);
    EXPECT_EQ(toCarbonModifiers(Qt::KeypadModifier | Qt::GroupSwitchModifier), 0);
    EXPECT_EQ(fromCarbonModifiers(0x1B00 | 0x1),
              Qt::MetaModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier);
    EXPECT_EQ(Shortcut(Key::f5, Qt::ControlModifier | Qt::KeypadModifier), Shortcut(96, 4096));
}

TEST_F(ShortcutModel, EqualShortcutsHashAlike) {
    EXPECT_EQ(std::hash<Shortcut>()(Shortcut(0, 768)),
              std::hash<Shortcut>()(Shortcut(Key::a, Qt::MetaModifier | Qt::ShiftModifier)));
    EXPECT_NE(Shortcut(0, 768), Shortcut(768, 0));
    EXPECT_EQ(qHash(Shortcut(6, 256)), qHash(Shortcut(6, 256)));
}

TEST_F(ShortcutModel, OnlyKeyEventsGiveAShortcut) {
    layout->nativeOffset = 8; // X keycodes sit 8 above their evdev codes
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Z, Qt::MetaModifier | Qt::AltModifier, 6 + 8, 0, 0);
    EXPECT_EQ(Shortcut::fromEvent(&release), Shortcut(6, 0x100 | 0x800));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, 8, 0, 0);
    EXPECT_EQ(Shortcut::fromEvent(&press), Shortcut(0, 0x1000));
    QMouseEvent click(QEvent::MouseButtonRelease, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
    EXPECT_FALSE(Shortcut::fromEvent(&click));
    QKeyEvent unknown(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 3, 0, 0); // below any mapped key
    EXPECT_FALSE(Shortcut::fromEvent(&unknown));
}

TEST_F(ShortcutModel, DescriptionShowsSymbolsThenTheCapitalisedKeyText) {
    const QString space = localizedString("space_key");
    EXPECT_EQ(
        Shortcut(Key::space, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier | Qt::MetaModifier)
            .description(),
        QString::fromUtf8("⌃⌥⇧⌘") + space);
    EXPECT_EQ(space, "Space");
    EXPECT_EQ(Shortcut(Key::f5, Qt::MetaModifier).description(), QString::fromUtf8("⌘F5"));
    EXPECT_EQ(Shortcut(Key::keypad1, Qt::MetaModifier).description(), QString::fromUtf8("⌘1\u20E3"));
    EXPECT_EQ(Shortcut(Key::a, Qt::MetaModifier).description(), QString::fromUtf8("⌘A"));
    EXPECT_EQ(Shortcut(Key::help, Qt::NoModifier).description(), QString::fromUtf8("?\u20DD"));
}

TEST_F(ShortcutModel, DescriptionFollowsTheCurrentLayout) {
    layout->characters[6] = "y"; // a German layout prints y on the Z position
    EXPECT_EQ(Shortcut(Key::z, Qt::ControlModifier).description(), QString::fromUtf8("⌃Y"));
    layout->characters[6] = "z";
    EXPECT_EQ(Shortcut(Key::z, Qt::ControlModifier).description(), QString::fromUtf8("⌃Z"));
    layout->characters.erase(6);
    EXPECT_EQ(Shortcut(Key::z, Qt::ControlModifier).description(), QString::fromUtf8("⌃\uFFFD"));
    layout->available = false;
    EXPECT_EQ(Shortcut(Key::a, Qt::NoModifier).description(), QString(QChar(0xFFFD)));
}

TEST_F(ShortcutModel, DesktopNotationIsWhatTheDesktopsOwnEditorsWrite) {
    const auto ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
    const auto shiftSuper = Qt::ShiftModifier | Qt::MetaModifier;
    qputenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
    EXPECT_EQ(desktopNotation(Shortcut(Key::b, ctrlAlt)), "Ctrl+Alt+B");
    EXPECT_EQ(desktopNotation(Shortcut(Key::f5, shiftSuper)), "Shift+Super+F5");
    EXPECT_EQ(desktopNotation(Shortcut(Key::space, ctrlAlt | shiftSuper)), "Shift+Ctrl+Alt+Super+Space");
    EXPECT_EQ(desktopNotation(Shortcut(Key::leftArrow, Qt::MetaModifier)), "Super+Left");
    EXPECT_EQ(desktopNotation(Shortcut(Key::escape, Qt::ControlModifier)), "Ctrl+Esc");
    layout->characters[Key::z.rawValue] = "y"; // the key of a German layout
    EXPECT_EQ(desktopNotation(Shortcut(Key::z, Qt::ControlModifier)), "Ctrl+Y");

    qputenv("XDG_CURRENT_DESKTOP", "KDE");
    EXPECT_EQ(desktopNotation(Shortcut(Key::f5, shiftSuper)), "Meta+Shift+F5");
    EXPECT_EQ(desktopNotation(Shortcut(Key::b, ctrlAlt)), "Ctrl+Alt+B");
    // What other callers read stays as it was.
    EXPECT_EQ(Shortcut(Key::b, ctrlAlt).description(), QString::fromUtf8("⌃⌥B"));
}

TEST_F(ShortcutModel, KeyTextPrefersTheFixedTableAndStaysInRange) {
    layout->characters[36] = "\r";
    EXPECT_EQ(keyToCharacter(36), QString::fromUtf8("↩"));
    const int before = layout->lookups;
    EXPECT_FALSE(keyToCharacter(70000));
    EXPECT_FALSE(keyToCharacter(-1));
    EXPECT_EQ(layout->lookups, before);
    EXPECT_EQ(keyToCharacter(Key::f20.rawValue), "F20");
    EXPECT_EQ(keyToCharacter(Key::keypadEnter.rawValue), QString::fromUtf8("↩\u20E3"));
}

TEST_F(ShortcutModel, MenuKeyEquivalents) {
    EXPECT_EQ(menuItemKeyEquivalent(Shortcut(Key::f5, Qt::MetaModifier)), QString(QChar(0xF708)));
    EXPECT_EQ(menuItemKeyEquivalent(Shortcut(Key::f1, Qt::NoModifier)), QString(QChar(0xF704)));
    EXPECT_EQ(menuItemKeyEquivalent(Shortcut(Key::f20, Qt::NoModifier)), QString(QChar(0xF717)));
    EXPECT_EQ(menuItemKeyEquivalent(Shortcut(Key::a, Qt::MetaModifier)), "a");
    EXPECT_EQ(menuItemKeyEquivalent(Shortcut(Key::return_, Qt::NoModifier)), QString::fromUtf8("↩"));
    EXPECT_EQ(menuItemKeyEquivalent(Shortcut(Key::space, Qt::NoModifier)), " ");

    EXPECT_EQ(menuKeySequence(Shortcut(Key::a, Qt::MetaModifier | Qt::ShiftModifier)),
              QKeySequence(Qt::META | Qt::SHIFT | Qt::Key_A));
    EXPECT_EQ(menuKeySequence(Shortcut(Key::f5, Qt::ControlModifier)), QKeySequence(Qt::CTRL | Qt::Key_F5));
    EXPECT_EQ(menuKeySequence(Shortcut(Key::leftArrow, Qt::AltModifier)),
              QKeySequence(Qt::ALT | Qt::Key_Left));
    EXPECT_EQ(menuKeySequence(Shortcut(Key::keypad3, Qt::ControlModifier)),
              QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_3)));
    // Both show the same arrow; only the keypad one is Enter.
    EXPECT_EQ(menuKeySequence(Shortcut(Key::keypadEnter, Qt::ControlModifier)),
              QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Enter)));
    EXPECT_EQ(menuKeySequence(Shortcut(Key::return_, Qt::ControlModifier)),
              QKeySequence(Qt::CTRL | Qt::Key_Return));
    layout->characters[0] = "ab"; // several characters and no table entry
    EXPECT_EQ(menuItemKeyEquivalent(Shortcut(Key::a, Qt::NoModifier)), "");
    layout->available = false;
    EXPECT_EQ(menuItemKeyEquivalent(Shortcut(Key::b, Qt::NoModifier)), "");
}

TEST_F(ShortcutModel, ModifierSymbolsHaveAFixedOrder) {
    EXPECT_EQ(
        modifierSymbols(Qt::MetaModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier, true),
        QString::fromUtf8("⌃⌥⇧⌘\U0001F310\uFE0E"));
    EXPECT_EQ(modifierSymbols(Qt::ShiftModifier | Qt::MetaModifier), QString::fromUtf8("⇧⌘"));
    EXPECT_EQ(modifierSymbols(Qt::NoModifier), "");
}

namespace {
class GermanTexts : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override {
        if (QByteArray(context) == "GlobalKeys" && QByteArray(source) == "space_key")
            return "Leertaste";
        return {};
    }
};
} // namespace

TEST_F(ShortcutModel, LibraryTextsComeFromATranslatorOrTheBuiltInTexts) {
    EXPECT_EQ(localizedString("record_shortcut"), "Record Shortcut");
    EXPECT_TRUE(localizedString("keyboard_shortcut_used_by_menu_item").contains("%1"));
    for (const char* key : {"press_shortcut", "keyboard_shortcut_used_by_system",
                            "keyboard_shortcuts_can_be_changed", "ok", "force_use_shortcut"})
        EXPECT_NE(localizedString(key), QLatin1String(key)) << key;
    GermanTexts german;
    QCoreApplication::installTranslator(&german);
    EXPECT_EQ(localizedString("space_key"), "Leertaste");
    EXPECT_EQ(localizedString("ok"), "OK");
    QCoreApplication::removeTranslator(&german);
    EXPECT_EQ(localizedString("space_key"), "Space");
}
