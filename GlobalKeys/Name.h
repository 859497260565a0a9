// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GlobalKeys/Shortcut.h"

#include <QMetaType>
#include <QString>

#include <optional>

namespace GlobalKeys {

// A named slot for one shortcut, e.g. Name("toggleSystemBrowserKeys"). Equality uses the raw value.
struct Name {
    QString rawValue;
    std::optional<Shortcut> defaultShortcut;

    Name() = default;
    explicit Name(QString rawValue);
    // Stores the default (registering it) when nothing at all is stored for the name yet.
    Name(QString rawValue, std::optional<Shortcut> defaultShortcut);

    bool operator==(const Name& other) const { return rawValue == other.rawValue; }
};

inline size_t qHash(const Name& name, size_t seed = 0) {
    return qHash(name.rawValue, seed);
}

} // namespace GlobalKeys

template <> struct std::hash<GlobalKeys::Name> {
    size_t operator()(const GlobalKeys::Name& name) const noexcept { return qHash(name.rawValue); }
};

Q_DECLARE_METATYPE(GlobalKeys::Name)
