#include "GlobalKeysAdapters.h"

#include "GlobalKeys/Shortcuts.h"
#include "platform/Services.h"
#include "platform/linux/DesktopKeyBindings.h"
#include "platform/linux/PortalHotKeyEvents.h"
#include "platform/linux/UnavailableHotKeyEvents.h"
#include "platform/linux/X11HotKeyEvents.h"
#include "platform/linux/XkbKeyboardLayout.h"
#include "platform/linux/XkbNamesKeyboardLayout.h"

#include <QGuiApplication>
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcPortalKeys)

namespace platform::linux_ {
namespace {

constexpr std::uint32_t cmdKey = 0x100, shiftKey = 0x200, optionKey = 0x800, controlKey = 0x1000;

// The name that stores the shortcut is its id at the desktop: it stays the same when the user picks
// another key, so the desktop keeps the approval it gave.
PortalHotKeyEvents::Label portalLabel(std::uint32_t keyCode, std::uint32_t modifiers) {
    const GlobalKeys::Shortcut shortcut(keyCode, modifiers);
    if (const auto name = GlobalKeys::nameOf(shortcut))
        return {name->rawValue, GlobalKeys::description(*name)};
    return {QStringLiteral("shortcut-%1-%2").arg(keyCode).arg(modifiers), shortcut.description()};
}

// "CTRL+ALT+b": the portal's modifier tokens, then the key's keysym name under the current layout.
PortalHotKeyEvents::TriggerNamer portalTrigger(std::shared_ptr<XkbNamesKeyboardLayout> layout) {
    return [layout](std::uint32_t keyCode, std::uint32_t modifiers) {
        QStringList parts;
        for (const auto& [flag, token] : {std::pair{controlKey, "CTRL"}, std::pair{optionKey, "ALT"},
                                          std::pair{shiftKey, "SHIFT"}, std::pair{cmdKey, "LOGO"}})
            if (modifiers & flag)
                parts << QLatin1String(token);
        parts << layout->keysymName(std::uint16_t(keyCode));
        return parts.join(QLatin1Char('+'));
    };
}

} // namespace

void installGlobalKeysAdapters() {
    install<SymbolicHotKeys>(std::make_shared<DesktopKeyBindings>());
    const QString platformName = QGuiApplication::platformName();
    if (platformName == QLatin1String("xcb")) {
        // Separate connections: the layout's round trips must not pull hot-key events off the grab
        // connection behind its socket notifier's back.
        install<HotKeyEvents>(std::make_shared<X11HotKeyEvents>(std::make_shared<XkbSessionProvider>()));
        install<KeyboardLayout>(std::make_shared<XkbKeyboardLayout>(std::make_shared<XkbSessionProvider>()));
        return;
    }
    auto layout = std::make_shared<XkbNamesKeyboardLayout>();
    install<KeyboardLayout>(layout);
    const QDBusConnection bus = QDBusConnection::sessionBus();
    QString why;
    if (PortalHotKeyEvents::portalAnswers(bus, &why)) {
        qCInfo(lcPortalKeys).noquote()
            << QStringLiteral("global shortcuts through the desktop's GlobalShortcuts portal "
                              "(Qt runs on the \"%1\" platform)")
                   .arg(platformName);
        install<HotKeyEvents>(std::make_shared<PortalHotKeyEvents>(bus, portalLabel, portalTrigger(layout)));
        return;
    }
    install<HotKeyEvents>(std::make_shared<UnavailableHotKeyEvents>(
        QStringLiteral(
            "Qt runs on the \"%1\" platform, not on X11, and the desktop offers no GlobalShortcuts "
            "portal (%2)")
            .arg(platformName.isEmpty() ? QStringLiteral("none") : platformName, why)));
}

} // namespace platform::linux_
