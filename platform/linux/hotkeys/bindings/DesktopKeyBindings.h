// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/SymbolicHotKeys.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace platform::linux_ {

// The key bindings of the desktop that runs (XDG_CURRENT_DESKTOP): GNOME, Unity and Budgie's
// key-binding settings with the user's custom shortcuts, KDE's kglobalshortcutsrc, Xfce's
// xfce4-keyboard-shortcuts.xml, Cinnamon's and MATE's key-binding settings. Other desktops reserve
// nothing we can read. Bindings on keys without a Carbon key code are left out.
class DesktopKeyBindings : public SymbolicHotKeys {
public:
    OSStatus copySymbolicHotKeys(std::vector<SymbolicHotKey>* out) override;

    // Parsers, public for tests: "<Super><Shift>Left" and "Meta+Shift+Left" forms.
    static std::optional<SymbolicHotKey> parseGnomeAccelerator(const QString& accelerator);
    static std::optional<SymbolicHotKey> parseKdeShortcut(const QString& shortcut);
    // Every shortcut text of a kglobalshortcutsrc ("current,default,description" values).
    static QStringList kdeShortcutTexts(const QByteArray& fileContent);
    // Every accelerator of an xfce4-keyboard-shortcuts channel file, custom sets before defaults.
    static QStringList xfceAccelerators(const QByteArray& channel);
};

} // namespace platform::linux_
