// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopNotation.h"

#include "GlobalKeys/MenuItemBinding.h"
#include "resource_bundle_accessor/ResourceBundle.h"

#include <QCoreApplication>
#include <QKeySequence>

namespace GlobalKeys {
namespace {

bool onKde() {
    const auto desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'));
    return desktops.contains(QStringLiteral("KDE"), Qt::CaseInsensitive);
}

// The key alone, named as Qt names it for people (its translations included).
QString keyText(const Shortcut& shortcut) {
    const QKeySequence sequence = menuKeySequence(Shortcut(shortcut.carbonKeyCode, 0));
    if (!sequence.isEmpty())
        return sequence.toString(QKeySequence::NativeText);
    const auto text = keyToCharacter(shortcut.carbonKeyCode);
    return text ? text->toUpper() : QString(QChar(0xFFFD));
}

} // namespace

QString desktopNotation(const Shortcut& shortcut) {
    const Qt::KeyboardModifiers modifiers = shortcut.modifiers();
    // KDE's editors show what Qt writes.
    if (onKde()) {
        const QKeySequence sequence = menuKeySequence(shortcut);
        if (!sequence.isEmpty())
            return sequence.toString(QKeySequence::NativeText);
    }
    // GTK's order, which the other desktops' settings follow.
    QStringList parts;
    if (modifiers & Qt::ShiftModifier)
        parts << QCoreApplication::translate("QShortcut", "Shift");
    if (modifiers & Qt::ControlModifier)
        parts << QCoreApplication::translate("QShortcut", "Ctrl");
    if (modifiers & Qt::AltModifier)
        parts << QCoreApplication::translate("QShortcut", "Alt");
    if (modifiers & Qt::MetaModifier)
        parts << (onKde() ? QCoreApplication::translate("QShortcut", "Meta") : localizedString("super_key"));
    parts << keyText(shortcut);
    return parts.join(QLatin1Char('+'));
}

} // namespace GlobalKeys
