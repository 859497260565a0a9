#pragma once

#include "platform/SymbolicHotKeys.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace platform::linux_ {

// The desktop's own key bindings: GNOME's key-binding settings where their schemas are installed,
// and KDE's kglobalshortcutsrc. Bindings on keys without a Carbon key code are left out.
class DesktopKeyBindings : public SymbolicHotKeys {
public:
    OSStatus copySymbolicHotKeys(std::vector<SymbolicHotKey>* out) override;

    // Parsers, public for tests: "<Super><Shift>Left" and "Meta+Shift+Left" forms.
    static std::optional<SymbolicHotKey> parseGnomeAccelerator(const QString& accelerator);
    static std::optional<SymbolicHotKey> parseKdeShortcut(const QString& shortcut);
    // Every shortcut text of a kglobalshortcutsrc ("current,default,description" values).
    static QStringList kdeShortcutTexts(const QByteArray& fileContent);
};

} // namespace platform::linux_
