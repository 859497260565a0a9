// SPDX-License-Identifier: GPL-3.0-or-later
#include "Adapters.h"

#include "app/core/links/RoutedDefaults.h"
#if !TOLVANE_ADAPTERS_WITH_DISPLAY
#include "LoadedBus.h"
#endif

#include "platform/HotKeyStatus.h"
#include "platform/Services.h"
#include "platform/linux/applications/CompiledMainBundle.h"
#include "platform/linux/applications/DesktopApplications.h"
#include "platform/linux/applications/DesktopBundleReader.h"
#include "platform/linux/applications/profiles/ProfileEntry.h"
#include "platform/linux/defaults/MimeAppsHandlerService.h"
#include "platform/linux/defaults/NoPromptScriptRunner.h"
#include "platform/linux/session/TrustedAccessibility.h"
#include "platform/linux/xdg/LocalFileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#if TOLVANE_ADAPTERS_WITH_DISPLAY
#include "BuildInfo.h"
#include "GlobalKeys/Shortcuts.h"
#include "platform/linux/applications/icons/DesktopWorkspace.h"
#include "platform/linux/hotkeys/UnavailableHotKeyEvents.h"
#include "platform/linux/hotkeys/bindings/DesktopKeyBindings.h"
#include "platform/linux/hotkeys/portal/PortalHotKeyEvents.h"
#include "platform/linux/hotkeys/portal/XkbNamesKeyboardLayout.h"
#include "platform/linux/hotkeys/x11/X11HotKeyEvents.h"
#include "platform/linux/hotkeys/x11/XkbKeyboardLayout.h"
#include "platform/linux/session/DBusNotifications.h"
#include "platform/linux/session/GnomeMotionPreference.h"
#include "platform/linux/session/LinuxSystemInfo.h"
#include "platform/linux/session/MessageBoxAlert.h"
#include "platform/linux/session/XdgAutostartLoginItem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcPortalKeys)
#endif

namespace Tolvane::adapters {

using namespace platform;
using namespace platform::linux_;

namespace {

// What every kind of start shares: one index, so the list, the metadata and the switch share
// parsed entries.
void installApplicationAdapters(const std::shared_ptr<Workspace>& workspace,
                                const std::shared_ptr<DesktopEntryIndex>& index,
                                const std::shared_ptr<BrowserProfiles>& profiles,
                                DesktopBundleReader::Versions versions) {
    install<Workspace>(workspace);
    install<BundleReader>(std::make_shared<DesktopBundleReader>(index, versions, profiles));
    auto stores = std::make_shared<MimeAppsHandlerService>(index, profiles);
    auto routed = std::make_shared<Tolvane::links::RoutedDefaults>(stores, stores, tolvaneCommand());
    install<HandlerService>(routed);
    install<LinkRouting>(routed);
    install<FileSystem>(std::make_shared<LocalFileSystem>());
    install<ScriptRunner>(std::make_shared<NoPromptScriptRunner>());
    install<Accessibility>(std::make_shared<TrustedAccessibility>());
    install<MainBundle>(std::make_shared<CompiledMainBundle>());
}

} // namespace

int launchProfile(const QString& entryId, const QStringList& urls) {
    return launchProfileEntry(entryId, urls);
}

QString tolvaneCommand() {
    // An AppImage runs from a mount that changes each start; the image file itself is what to start.
    const QString image = qEnvironmentVariable("APPIMAGE");
    if (QDir::isAbsolutePath(image))
        return image;
#if TOLVANE_ADAPTERS_WITH_DISPLAY
    // The tray program lives beside the command in a build, in the private program folder once installed.
    const QDir here(QCoreApplication::applicationDirPath());
    for (const QString& candidate : {here.filePath(QStringLiteral("tolvane")),
                                     here.filePath(QStringLiteral(TOLVANE_COMMAND_FROM_TRAY "/tolvane"))})
        if (QFileInfo(candidate).isExecutable())
            return QDir::cleanPath(candidate);
#endif
    return QCoreApplication::applicationFilePath();
}

void installCommandLineAdapters(bool versions) {
    auto index = std::make_shared<DesktopEntryIndex>();
    auto profiles = browserProfilesOf(index);
    using Versions = DesktopBundleReader::Versions;
    installApplicationAdapters(std::make_shared<DesktopApplications>(index, profiles), index, profiles,
                               versions ? Versions::read : Versions::skipped);
#if !TOLVANE_ADAPTERS_WITH_DISPLAY
    install<Notifications>(std::make_shared<LoadedBusNotifications>());
    install<LinkAsking>(std::make_shared<LoadedBusAsking>());
#endif
}

#if TOLVANE_ADAPTERS_WITH_DISPLAY

void installDesktopAdapters() {
    auto index = std::make_shared<DesktopEntryIndex>();
    auto profiles = browserProfilesOf(index);
    installApplicationAdapters(std::make_shared<DesktopWorkspace>(index, profiles), index, profiles,
                               DesktopBundleReader::Versions::read);
    install<Alert>(std::make_shared<MessageBoxAlert>());
    install<Notifications>(std::make_shared<DBusNotifications>());
}

namespace {
Q_LOGGING_CATEGORY(lcAutostart, "app.tolvane.Tolvane.autostart")
} // namespace

void installStartAtLoginAdapters() {
    const QString executable = tolvaneCommand();
    auto loginItem = std::make_shared<XdgAutostartLoginItem>(
        QStringLiteral(TOLVANE_APP_ID), QStringLiteral(TOLVANE_DISPLAY_NAME), executable);
    // Launch at login stays with the app when it is started from a new place.
    if (const auto error = loginItem->followExecutable())
        qCWarning(lcAutostart, "Could not update the autostart entry: %s",
                  qUtf8Printable(error->localizedDescription));
    install<LoginItemService>(std::move(loginItem));
}

void installFeedbackAdapters() {
    install<SystemInfo>(std::make_shared<LinuxSystemInfo>());
    install<MotionPreference>(std::make_shared<GnomeMotionPreference>());
}

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
        // Grabs deliver what was asked; the status only tells whether another program holds a key.
        auto grabs = std::make_shared<X11HotKeyEvents>(std::make_shared<XkbSessionProvider>());
        install<HotKeyEvents>(grabs);
        install<HotKeyStatus>(grabs);
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
        auto portal = std::make_shared<PortalHotKeyEvents>(bus, portalLabel, portalTrigger(layout));
        install<HotKeyEvents>(portal);
        install<HotKeyStatus>(portal);
        return;
    }
    auto unavailable = std::make_shared<UnavailableHotKeyEvents>(
        QStringLiteral(
            "Qt runs on the \"%1\" platform, not on X11, and the desktop offers no GlobalShortcuts "
            "portal (%2)")
            .arg(platformName.isEmpty() ? QStringLiteral("none") : platformName, why));
    install<HotKeyEvents>(unavailable);
    install<HotKeyStatus>(unavailable);
}

#endif

} // namespace Tolvane::adapters
