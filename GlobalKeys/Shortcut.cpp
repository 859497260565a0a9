// SPDX-License-Identifier: GPL-3.0-or-later
#include "Shortcut.h"

#include "platform/KeyboardLayout.h"
#include "platform/Services.h"
#include "resource_bundle_accessor/ResourceBundle.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QTextBoundaryFinder>

#include <cmath>
#include <unordered_map>

namespace GlobalKeys {
namespace {

const std::unordered_map<std::int64_t, QString>& keyDisplayTable() {
    static const std::unordered_map<std::int64_t, QString> table = [] {
        std::unordered_map<std::int64_t, QString> t;
        const QChar keycap(0x20E3);
        t[Key::return_.rawValue] = QChar(0x21A9);
        t[Key::delete_.rawValue] = QChar(0x232B);
        t[Key::deleteForward.rawValue] = QChar(0x2326);
        t[Key::end.rawValue] = QChar(0x2198);
        t[Key::escape.rawValue] = QChar(0x238B);
        t[Key::help.rawValue] = QString("?") + QChar(0x20DD);
        t[Key::home.rawValue] = QChar(0x2196);
        t[Key::space.rawValue] = localizedString("space_key");
        t[Key::tab.rawValue] = QChar(0x21E5);
        t[Key::pageUp.rawValue] = QChar(0x21DE);
        t[Key::pageDown.rawValue] = QChar(0x21DF);
        t[Key::upArrow.rawValue] = QChar(0x2191);
        t[Key::rightArrow.rawValue] = QChar(0x2192);
        t[Key::downArrow.rawValue] = QChar(0x2193);
        t[Key::leftArrow.rawValue] = QChar(0x2190);
        const Key fkeys[] = {Key::f1,  Key::f2,  Key::f3,  Key::f4,  Key::f5,  Key::f6,  Key::f7,
                             Key::f8,  Key::f9,  Key::f10, Key::f11, Key::f12, Key::f13, Key::f14,
                             Key::f15, Key::f16, Key::f17, Key::f18, Key::f19, Key::f20};
        for (int i = 0; i < 20; ++i)
            t[fkeys[i].rawValue] = QString("F%1").arg(i + 1);
        const Key pad[] = {Key::keypad0, Key::keypad1, Key::keypad2, Key::keypad3, Key::keypad4,
                           Key::keypad5, Key::keypad6, Key::keypad7, Key::keypad8, Key::keypad9};
        for (int i = 0; i < 10; ++i)
            t[pad[i].rawValue] = QString::number(i) + keycap;
        t[Key::keypadClear.rawValue] = QString(QChar(0x2612)) + keycap;
        t[Key::keypadDecimal.rawValue] = QString(".") + keycap;
        t[Key::keypadDivide.rawValue] = QString("/") + keycap;
        t[Key::keypadEquals.rawValue] = QString("=") + keycap;
        t[Key::keypadMinus.rawValue] = QString("-") + keycap;
        t[Key::keypadMultiply.rawValue] = QString("*") + keycap;
        t[Key::keypadPlus.rawValue] = QString("+") + keycap;
        t[Key::keypadEnter.rawValue] = QString(QChar(0x21A9)) + keycap;
        return t;
    }();
    return table;
}

const std::unordered_map<std::int64_t, QString>& menuKeyEquivalentTable() {
    static const std::unordered_map<std::int64_t, QString> table = [] {
        std::unordered_map<std::int64_t, QString> t;
        t[Key::space.rawValue] = QStringLiteral(" ");
        const Key fkeys[] = {Key::f1,  Key::f2,  Key::f3,  Key::f4,  Key::f5,  Key::f6,  Key::f7,
                             Key::f8,  Key::f9,  Key::f10, Key::f11, Key::f12, Key::f13, Key::f14,
                             Key::f15, Key::f16, Key::f17, Key::f18, Key::f19, Key::f20};
        for (int i = 0; i < 20; ++i)
            t[fkeys[i].rawValue] = QChar(0xF704 + i);
        return t;
    }();
    return table;
}

// Title case: first letter of each word upper case, the rest lower case.
QString capitalized(const QString& text) {
    QString out = text;
    bool wordStart = true;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out[i];
        if (c.isSpace()) {
            wordStart = true;
            continue;
        }
        out[i] = wordStart ? c.toUpper() : c.toLower();
        wordStart = false;
    }
    return out;
}

int graphemeCount(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

std::optional<std::int64_t> integerMember(const QJsonObject& object, const char* name) {
    const QJsonValue value = object.value(QLatin1String(name));
    if (!value.isDouble())
        return std::nullopt;
    const double d = value.toDouble();
    // toInteger() gives 0 for numbers outside the 64-bit range; such a value is no key code.
    if (!std::isfinite(d) || std::trunc(d) != d || d < -0x1p63 || d >= 0x1p63)
        return std::nullopt;
    return value.toInteger();
}

} // namespace

Shortcut::Shortcut(std::int64_t keyCode, std::int64_t modifiers)
    : carbonKeyCode(keyCode), carbonModifiers(toCarbonModifiers(fromCarbonModifiers(modifiers))) {}

Shortcut::Shortcut(Key key, Qt::KeyboardModifiers modifiers)
    : carbonKeyCode(key.rawValue), carbonModifiers(toCarbonModifiers(modifiers)) {}

std::optional<Shortcut> Shortcut::fromEvent(const QEvent* event) {
    if (!event || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return std::nullopt;
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (!platform::has<platform::KeyboardLayout>())
        return std::nullopt;
    const auto code = platform::get<platform::KeyboardLayout>()->carbonKeyCode(key->nativeScanCode());
    if (!code)
        return std::nullopt;
    return Shortcut(*code & 0xFFFF, toCarbonModifiers(key->modifiers()));
}

QByteArray Shortcut::toJson() const {
    QJsonObject object;
    object.insert("carbonKeyCode", qint64(carbonKeyCode));
    object.insert("carbonModifiers", qint64(carbonModifiers));
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<Shortcut> Shortcut::fromJson(const QByteArray& json) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const auto code = integerMember(document.object(), "carbonKeyCode");
    const auto modifiers = integerMember(document.object(), "carbonModifiers");
    if (!code || !modifiers)
        return std::nullopt;
    Shortcut shortcut;
    shortcut.carbonKeyCode = *code;
    shortcut.carbonModifiers = *modifiers;
    return shortcut;
}

QString Shortcut::description() const {
    const auto text = keyToCharacter(carbonKeyCode);
    return modifierSymbols(modifiers()) + (text ? capitalized(*text) : QString(QChar(0xFFFD)));
}

std::optional<QString> keyToCharacter(std::int64_t keyCode) {
    const auto& table = keyDisplayTable();
    if (const auto it = table.find(keyCode); it != table.end())
        return it->second;
    if (keyCode < 0 || keyCode > 0xFFFF || !platform::has<platform::KeyboardLayout>())
        return std::nullopt;
    return platform::get<platform::KeyboardLayout>()->characterForKey(std::uint16_t(keyCode));
}

QString menuItemKeyEquivalent(const Shortcut& shortcut) {
    const auto text = keyToCharacter(shortcut.carbonKeyCode);
    if (!text)
        return {};
    if (graphemeCount(*text) < 2)
        return *text;
    const auto& table = menuKeyEquivalentTable();
    const auto it = table.find(shortcut.carbonKeyCode);
    return it == table.end() ? QString() : it->second;
}

size_t qHash(const Shortcut& shortcut, size_t seed) {
    return qHashMulti(seed, shortcut.carbonKeyCode, shortcut.carbonModifiers);
}

} // namespace GlobalKeys
