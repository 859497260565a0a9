// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GlobalKeys/Key.h"
#include "GlobalKeys/Modifiers.h"

#include <QByteArray>
#include <QMetaType>
#include <QString>

#include <optional>

class QEvent;

namespace GlobalKeys {

// A key plus modifiers in the Carbon encoding; stored as {"carbonKeyCode":..,"carbonModifiers":..}.
struct Shortcut {
    std::int64_t carbonKeyCode = 0;
    std::int64_t carbonModifiers = 0;

    Shortcut() = default;
    // Keeps only the four known modifier bits.
    Shortcut(std::int64_t carbonKeyCode, std::int64_t carbonModifiers);
    Shortcut(Key key, Qt::KeyboardModifiers modifiers);
    // Only key press and key release events give a shortcut; the key code is the Carbon code of the
    // event's physical key.
    static std::optional<Shortcut> fromEvent(const QEvent* event);

    bool operator==(const Shortcut&) const = default;

    Key key() const { return Key(carbonKeyCode); }
    Qt::KeyboardModifiers modifiers() const { return fromCarbonModifiers(carbonModifiers); }

    // Compact JSON; decoding needs both members as integers, takes them as they stand and ignores
    // extra members.
    QByteArray toJson() const;
    static std::optional<Shortcut> fromJson(const QByteArray& json);

    // Modifier symbols followed by the capitalised key text, or U+FFFD when the key has no text.
    QString description() const;
};

// The key's text: the fixed display table first, then what the current layout prints on the key.
std::optional<QString> keyToCharacter(std::int64_t keyCode);

// The key equivalent text a menu item shows for the shortcut.
QString menuItemKeyEquivalent(const Shortcut& shortcut);

size_t qHash(const Shortcut& shortcut, size_t seed = 0);

} // namespace GlobalKeys

template <> struct std::hash<GlobalKeys::Shortcut> {
    size_t operator()(const GlobalKeys::Shortcut& s) const noexcept {
        const size_t h = std::hash<std::int64_t>()(s.carbonKeyCode);
        return h ^
               (std::hash<std::int64_t>()(s.carbonModifiers) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
    }
};

Q_DECLARE_METATYPE(GlobalKeys::Shortcut)
