// SPDX-License-Identifier: GPL-3.0-or-later
#include "Modifiers.h"

namespace GlobalKeys {

std::int64_t toCarbonModifiers(Qt::KeyboardModifiers modifiers) {
    std::int64_t carbon = 0;
    if (modifiers & Qt::MetaModifier)
        carbon += cmdKey;
    if (modifiers & Qt::ShiftModifier)
        carbon += shiftKey;
    if (modifiers & Qt::AltModifier)
        carbon += optionKey;
    if (modifiers & Qt::ControlModifier)
        carbon += controlKey;
    return carbon;
}

Qt::KeyboardModifiers fromCarbonModifiers(std::int64_t carbonModifiers) {
    Qt::KeyboardModifiers modifiers;
    if (carbonModifiers & cmdKey)
        modifiers |= Qt::MetaModifier;
    if (carbonModifiers & shiftKey)
        modifiers |= Qt::ShiftModifier;
    if (carbonModifiers & optionKey)
        modifiers |= Qt::AltModifier;
    if (carbonModifiers & controlKey)
        modifiers |= Qt::ControlModifier;
    return modifiers;
}

QString modifierSymbols(Qt::KeyboardModifiers modifiers, bool function) {
    QString text;
    if (modifiers & Qt::ControlModifier)
        text += QChar(0x2303);
    if (modifiers & Qt::AltModifier)
        text += QChar(0x2325);
    if (modifiers & Qt::ShiftModifier)
        text += QChar(0x21E7);
    if (modifiers & Qt::MetaModifier)
        text += QChar(0x2318);
    if (function)
        text += QString::fromUtf8("\U0001F310\uFE0E");
    return text;
}

} // namespace GlobalKeys
