// SPDX-License-Identifier: GPL-3.0-or-later
#include "CarbonGlobalKeys.h"

#include "GlobalKeys/RunLoopLocalEventMonitor.h"
#include "platform/HotKeyStatus.h"
#include "platform/KeyboardLayout.h"
#include "platform/Services.h"
#include "platform/SymbolicHotKeys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLoggingCategory>
#include <QMenu>
#include <QPointer>
#include <QSet>

#include <limits>

Q_LOGGING_CATEGORY(lcHotKeys, "GlobalKeys.hotkeys")

namespace GlobalKeys {

using namespace platform;

const std::vector<EventTypeSpec> CarbonGlobalKeys::hotKeyEventTypes = {
    {kEventClassKeyboard, kEventHotKeyPressed}, {kEventClassKeyboard, kEventHotKeyReleased}};
const std::vector<EventTypeSpec> CarbonGlobalKeys::rawKeyEventTypes = {
    {kEventClassKeyboard, kEventRawKeyDown}, {kEventClassKeyboard, kEventRawKeyUp}};

namespace {

struct Registry {
    std::map<std::int64_t, std::shared_ptr<HotKey>> hotKeys;
    std::int64_t nextHotKeyId = 0;
    EventHandlerRef eventHandler = 0;
    bool isEnabled = true;
    bool isMenuOpen = false;
    std::unique_ptr<RunLoopLocalEventMonitor> menuTrackingMonitor;
    bool menuObserversInstalled = false;
    bool reportedMissingPort = false;
};

Registry& registry() {
    static Registry r;
    return r;
}

std::shared_ptr<HotKeyEvents> port() {
    if (has<HotKeyEvents>())
        return get<HotKeyEvents>();
    if (!std::exchange(registry().reportedMissingPort, true))
        qCWarning(lcHotKeys) << "global shortcuts unavailable: no hot-key service is installed";
    return nullptr;
}

// The Carbon form of a key event seen while a menu is open; none for events without a Carbon key.
std::optional<CarbonEvent> carbonEventFor(QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return std::nullopt;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!has<KeyboardLayout>())
        return std::nullopt;
    const auto code = get<KeyboardLayout>()->carbonKeyCode(key->nativeScanCode());
    if (!code || *code < 0 || *code > 0xFFFF)
        return std::nullopt;
    std::uint32_t kind;
    if (event->type() == QEvent::KeyPress)
        kind = key->isAutoRepeat() ? kEventRawKeyRepeat : kEventRawKeyDown;
    else if (key->isAutoRepeat())
        return std::nullopt;
    else
        kind = kEventRawKeyUp;
    return CarbonEvent::rawKey(kind, std::uint32_t(*code),
                               std::uint32_t(toCarbonModifiers(key->modifiers())));
}

// Keys whose press the menu-open path consumed, with the modifiers of that press: the release
// belongs to the same hot key even when the modifiers went up first.
std::map<quint32, std::uint32_t>& consumedPresses() {
    static std::map<quint32, std::uint32_t> presses;
    return presses;
}

QEvent* filterMenuKeyEvent(QEvent* event) {
    auto carbon = carbonEventFor(event);
    if (!carbon)
        return event;
    const quint32 native = static_cast<QKeyEvent*>(event)->nativeScanCode();
    auto& presses = consumedPresses();
    const auto pressed = presses.find(native);
    if (carbon->kind == kEventRawKeyUp && pressed != presses.end()) {
        std::uint32_t keyCode = 0;
        GetEventParameter(&*carbon, kEventParamKeyCode, typeUInt32, sizeof keyCode, &keyCode);
        carbon = CarbonEvent::rawKey(kEventRawKeyUp, keyCode, pressed->second);
        presses.erase(pressed);
    }
    if (CarbonGlobalKeys::handleRawKeyEvent(&*carbon) != noErr) {
        // A plain press of the key: its release, lost while no menu was open, will not come now.
        if (carbon->kind == kEventRawKeyDown)
            presses.erase(native);
        return event;
    }
    if (carbon->kind == kEventRawKeyDown) {
        std::uint32_t modifiers = 0;
        GetEventParameter(&*carbon, kEventParamKeyModifiers, typeUInt32, sizeof modifiers, &modifiers);
        presses[native] = modifiers;
    }
    return nullptr;
}

// Stops filtering the menus' keys. A release that comes after this is not the menu's business, so
// the presses waiting for theirs are forgotten.
void stopMenuTracking() {
    if (auto& monitor = registry().menuTrackingMonitor)
        monitor->stop();
    consumedPresses().clear();
}

RunLoopLocalEventMonitor& menuTrackingMonitor() {
    auto& monitor = registry().menuTrackingMonitor;
    if (!monitor)
        monitor = std::make_unique<RunLoopLocalEventMonitor>(
            eventMaskBit(keyDownEvent) | eventMaskBit(keyUpEvent), CarbonGlobalKeys::menuTrackingRunLoopMode,
            filterMenuKeyEvent);
    return *monitor;
}

// Watches every QMenu of the application open and close; the mode follows "any menu open".
class MenuTracker : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched->isWidgetType()) {
            if (auto* menu = qobject_cast<QMenu*>(watched)) {
                if (event->type() == QEvent::Show && !openMenus_.contains(menu)) {
                    openMenus_ << menu;
                    // A menu is shown many times; one watch for its end is enough.
                    if (!watched_.contains(menu)) {
                        watched_.insert(menu);
                        connect(menu, &QObject::destroyed, this, [this, menu] {
                            watched_.remove(menu);
                            closed(menu);
                        });
                    }
                } else if (event->type() == QEvent::Hide) {
                    closed(menu);
                }
                update();
            }
        }
        return false;
    }

private:
    void closed(QObject* menu) {
        openMenus_.removeAll(menu);
        update();
    }
    void update() { CarbonGlobalKeys::setMenuOpen(!openMenus_.isEmpty()); }
    QList<QObject*> openMenus_;
    QSet<QObject*> watched_;
};

bool validUInt32(std::int64_t value) {
    return value >= 0 && value <= std::numeric_limits<std::uint32_t>::max();
}

} // namespace

CarbonGlobalKeys::Registration CarbonGlobalKeys::registerHotKey(const Shortcut& shortcut,
                                                                ShortcutCallback onKeyDown,
                                                                ShortcutCallback onKeyUp) {
    auto& r = registry();
    const std::int64_t id = ++r.nextHotKeyId;
    if (!validUInt32(shortcut.carbonKeyCode) || !validUInt32(shortcut.carbonModifiers) || !validUInt32(id))
        return Registration::unavailable;
    const auto events = port();
    if (!events)
        return Registration::unavailable;
    EventHotKeyRef ref = 0;
    const OSStatus status = events->registerEventHotKey(
        std::uint32_t(shortcut.carbonKeyCode), std::uint32_t(shortcut.carbonModifiers),
        EventHotKeyID{hotKeySignature, std::uint32_t(id)}, &ref);
    const bool registered = status == noErr && ref != 0;
    // The service itself does not work (no X connection): nothing to wait for.
    if (status == eventInternalErr)
        return Registration::unavailable;
    if (!registered)
        qCInfo(lcHotKeys) << "the system refused hot key" << shortcut.carbonKeyCode
                          << shortcut.carbonModifiers << "(status" << status << "); it is tried again later";
    r.hotKeys[id] = std::make_shared<HotKey>(
        HotKey{shortcut, id, registered ? ref : 0, std::move(onKeyDown), std::move(onKeyUp)});

    // Also for a waiting entry: the handler's mode changes are what try it again.
    if (r.eventHandler == 0 && events->hasEventDispatcherTarget()) {
        EventHandlerRef handler = 0;
        if (events->installEventHandler(&CarbonGlobalKeys::handleCarbonEvent, &handler) == noErr &&
            handler != 0) {
            r.eventHandler = handler;
            updateEventHandler();
        }
    }
    return registered ? Registration::registered : Registration::refused;
}

bool CarbonGlobalKeys::isHeldByAnotherProgram(const Shortcut& shortcut) {
    if (!validUInt32(shortcut.carbonKeyCode) || !validUInt32(shortcut.carbonModifiers))
        return false;
    if (!platform::has<platform::HotKeyStatus>())
        return false;
    return platform::get<platform::HotKeyStatus>()->heldByAnotherProgram(
        std::uint32_t(shortcut.carbonKeyCode), std::uint32_t(shortcut.carbonModifiers));
}

void CarbonGlobalKeys::unregisterHotKey(const Shortcut& shortcut) {
    auto& r = registry();
    const auto events = has<HotKeyEvents>() ? get<HotKeyEvents>() : nullptr;
    for (auto it = r.hotKeys.begin(); it != r.hotKeys.end();) {
        if (it->second->shortcut == shortcut) {
            if (events)
                events->unregisterEventHotKey(it->second->carbonHotKey);
            it = r.hotKeys.erase(it);
        } else {
            ++it;
        }
    }
}

bool CarbonGlobalKeys::isEnabled() {
    return registry().isEnabled;
}

void CarbonGlobalKeys::setEnabled(bool enabled) {
    if (std::exchange(registry().isEnabled, enabled) != enabled)
        updateEventHandler();
}

bool CarbonGlobalKeys::isMenuOpen() {
    return registry().isMenuOpen;
}

void CarbonGlobalKeys::setMenuOpen(bool open) {
    if (std::exchange(registry().isMenuOpen, open) != open)
        updateEventHandler();
}

void CarbonGlobalKeys::updateEventHandler() {
    auto& r = registry();
    if (r.eventHandler == 0)
        return;
    const auto events = port();
    if (!events)
        return;
    const bool monitorPath = events->menuTrackingUsesEventMonitor();
    // Unregistering all is a pause until the menu closes or the registry is enabled again.
    if (platform::has<platform::HotKeyStatus>())
        platform::get<platform::HotKeyStatus>()->setHeld(!r.isEnabled || r.isMenuOpen);
    if (r.isEnabled && !r.isMenuOpen) {
        registerAll();
        if (monitorPath)
            stopMenuTracking();
        else
            events->removeEventTypesFromHandler(r.eventHandler, rawKeyEventTypes);
        events->addEventTypesToHandler(r.eventHandler, hotKeyEventTypes);
    } else if (r.isEnabled) {
        unregisterAll();
        events->removeEventTypesFromHandler(r.eventHandler, hotKeyEventTypes);
        if (monitorPath)
            menuTrackingMonitor().start();
        else
            events->addEventTypesToHandler(r.eventHandler, rawKeyEventTypes);
    } else {
        unregisterAll();
        events->removeEventTypesFromHandler(r.eventHandler, hotKeyEventTypes);
        if (monitorPath)
            stopMenuTracking();
        else
            events->removeEventTypesFromHandler(r.eventHandler, rawKeyEventTypes);
    }
}

void CarbonGlobalKeys::unregisterAll() {
    const auto events = port();
    for (auto& [id, hotKey] : registry().hotKeys) {
        if (events)
            events->unregisterEventHotKey(hotKey->carbonHotKey);
        hotKey->carbonHotKey = 0;
    }
}

void CarbonGlobalKeys::registerAll() {
    const auto events = port();
    if (!events)
        return;
    // One the system refuses now keeps its entry (and id) and is tried again next time.
    for (auto& [id, hotKey] : registry().hotKeys) {
        if (hotKey->carbonHotKey != 0)
            continue;
        EventHotKeyRef ref = 0;
        const OSStatus status = events->registerEventHotKey(
            std::uint32_t(hotKey->shortcut.carbonKeyCode), std::uint32_t(hotKey->shortcut.carbonModifiers),
            EventHotKeyID{hotKeySignature, std::uint32_t(id)}, &ref);
        if (status == noErr && ref != 0)
            hotKey->carbonHotKey = ref;
    }
}

OSStatus CarbonGlobalKeys::handleCarbonEvent(const CarbonEvent* event) {
    if (!event)
        return eventNotHandledErr;
    switch (GetEventKind(*event)) {
    case kEventHotKeyPressed:
    case kEventHotKeyReleased:
        return handleHotKeyEvent(event);
    case kEventRawKeyDown:
    case kEventRawKeyUp:
        return handleRawKeyEvent(event);
    default:
        return eventNotHandledErr;
    }
}

OSStatus CarbonGlobalKeys::handleHotKeyEvent(const CarbonEvent* event) {
    EventHotKeyID hotKeyId;
    const OSStatus status =
        GetEventParameter(event, kEventParamDirectObject, typeEventHotKeyID, sizeof(hotKeyId), &hotKeyId);
    if (status != noErr)
        return status;
    if (hotKeyId.signature != hotKeySignature)
        return eventNotHandledErr;
    const auto& hotKeys = registry().hotKeys;
    const auto it = hotKeys.find(hotKeyId.id);
    if (it == hotKeys.end())
        return eventNotHandledErr;
    // Hold the entry: a callback may unregister it.
    const std::shared_ptr<HotKey> hotKey = it->second;
    switch (GetEventKind(*event)) {
    case kEventHotKeyPressed:
        if (hotKey->onKeyDown)
            hotKey->onKeyDown(hotKey->shortcut);
        break;
    case kEventHotKeyReleased:
        if (hotKey->onKeyUp)
            hotKey->onKeyUp(hotKey->shortcut);
        break;
    default:
        break;
    }
    return noErr;
}

OSStatus CarbonGlobalKeys::handleRawKeyEvent(const CarbonEvent* event) {
    std::uint32_t keyCode = 0;
    std::uint32_t modifiers = 0;
    OSStatus status = GetEventParameter(event, kEventParamKeyCode, typeUInt32, sizeof(keyCode), &keyCode);
    if (status != noErr)
        return status;
    status = GetEventParameter(event, kEventParamKeyModifiers, typeUInt32, sizeof(modifiers), &modifiers);
    if (status != noErr)
        return status;
    const Shortcut pressed(keyCode, modifiers);
    std::shared_ptr<HotKey> match;
    for (const auto& [id, hotKey] : registry().hotKeys)
        if (hotKey->shortcut == pressed) {
            match = hotKey;
            break;
        }
    if (!match)
        return eventNotHandledErr;
    switch (GetEventKind(*event)) {
    case kEventRawKeyDown:
        if (match->onKeyDown)
            match->onKeyDown(match->shortcut);
        break;
    case kEventRawKeyUp:
        if (match->onKeyUp)
            match->onKeyUp(match->shortcut);
        break;
    default:
        // The held hot key repeating: taken like its press, which already fired.
        break;
    }
    return noErr;
}

std::vector<Shortcut> CarbonGlobalKeys::systemShortcuts() {
    if (!has<SymbolicHotKeys>())
        return {};
    std::vector<SymbolicHotKey> entries;
    if (get<SymbolicHotKeys>()->copySymbolicHotKeys(&entries) != noErr)
        return {};
    std::vector<Shortcut> shortcuts;
    for (const auto& entry : entries) {
        if (entry.enabled.typeId() != QMetaType::Bool || !entry.enabled.toBool())
            continue;
        const auto isInteger = [](const QVariant& v) {
            switch (v.typeId()) {
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Long:
            case QMetaType::Short:
                return true;
            default:
                return false;
            }
        };
        if (!isInteger(entry.code) || !isInteger(entry.modifiers))
            continue;
        shortcuts.emplace_back(entry.code.toLongLong(), entry.modifiers.toLongLong());
    }
    return shortcuts;
}

void CarbonGlobalKeys::installMenuTrackingObservers() {
    auto& r = registry();
    // Without an application there is nothing to watch yet; a later call installs them.
    if (r.menuObserversInstalled || !QCoreApplication::instance())
        return;
    r.menuObserversInstalled = true;
    QCoreApplication::instance()->installEventFilter(new MenuTracker(QCoreApplication::instance()));
}

const std::map<std::int64_t, std::shared_ptr<HotKey>>& CarbonGlobalKeys::hotKeys() {
    return registry().hotKeys;
}
std::int64_t CarbonGlobalKeys::lastHotKeyId() {
    return registry().nextHotKeyId;
}
bool CarbonGlobalKeys::hasEventHandler() {
    return registry().eventHandler != 0;
}

} // namespace GlobalKeys
