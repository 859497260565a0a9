// SPDX-License-Identifier: GPL-3.0-or-later
#include "X11HotKeyEvents.h"

#include "platform/linux/hotkeys/CarbonKeyTable.h"

#include <QAbstractEventDispatcher>
#include <QLoggingCategory>
#include <QSocketNotifier>

#include <utility>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
// The XKB protocol header uses a C++ keyword as a field name.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-keysyms.h>
#include <xkbcommon/xkbcommon-x11.h>

Q_DECLARE_LOGGING_CATEGORY(lcX11Keys)

namespace platform::linux_ {
namespace {

constexpr std::uint32_t cmdKey = 0x100, shiftKey = 0x200, optionKey = 0x800, controlKey = 0x1000;
constexpr std::uint16_t grabbedModifiers =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;

std::uint16_t xModifiers(std::uint32_t carbon) {
    std::uint16_t mods = 0;
    if (carbon & cmdKey)
        mods |= XCB_MOD_MASK_4;
    if (carbon & optionKey)
        mods |= XCB_MOD_MASK_1;
    if (carbon & controlKey)
        mods |= XCB_MOD_MASK_CONTROL;
    if (carbon & shiftKey)
        mods |= XCB_MOD_MASK_SHIFT;
    return mods;
}

} // namespace

X11HotKeyEvents::X11HotKeyEvents(std::shared_ptr<XkbSessionProvider> sessions, int debounceMs)
    : sessions_(std::move(sessions)) {
    keymapDebounce_.setSingleShot(true);
    keymapDebounce_.setInterval(debounceMs);
    connect(&keymapDebounce_, &QTimer::timeout, this, &X11HotKeyEvents::regrabAll);
}

X11HotKeyEvents::~X11HotKeyEvents() {
    if (session_) {
        for (const auto& [ref, g] : grabs_)
            if (g.keycode)
                for (auto locks : lockCombinations())
                    xcb_ungrab_key(session_->connection(), g.keycode, session_->root(), g.modifiers | locks);
        xcb_flush(session_->connection());
    }
    if (keymap_)
        xkb_keymap_unref(keymap_);
}

bool X11HotKeyEvents::connectionLost() {
    if (!session_ || !xcb_connection_has_error(session_->connection()))
        return false;
    if (notifier_)
        notifier_->setEnabled(false);
    if (!std::exchange(lossReported_, true))
        qCWarning(lcX11Keys) << "lost the connection to the X server; global shortcuts stop";
    return true;
}

bool X11HotKeyEvents::ensureReady() {
    if (session_)
        return true;
    session_ = sessions_->session();
    if (!session_)
        return false;
    xcb_connection_t* c = session_->connection();

    // Held keys repeat as presses only on this connection; Qt's own connection is left alone.
    const std::uint32_t flag = XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT;
    if (auto* reply = xcb_xkb_per_client_flags_reply(
            c, xcb_xkb_per_client_flags(c, XCB_XKB_ID_USE_CORE_KBD, flag, flag, 0, 0, 0), nullptr)) {
        if (!(reply->value & flag))
            qCWarning(lcX11Keys) << "the X server refuses detectable auto-repeat; held keys may repeat";
        free(reply);
    }

    session_->selectKeymapChangeEvents();

    refreshKeymap();
    scheduleDrain();

    notifier_ = new QSocketNotifier(xcb_get_file_descriptor(c), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &X11HotKeyEvents::drainEvents);
    // Replies read while waiting for a request can leave events queued with the socket already empty.
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &X11HotKeyEvents::drainEvents);
    xcb_flush(c);
    return true;
}

void X11HotKeyEvents::refreshKeymap() {
    if (keymap_)
        xkb_keymap_unref(keymap_);
    keymap_ = session_->fetchKeymap();
    findLockMasks();
}

void X11HotKeyEvents::findLockMasks() {
    numLockMask_ = scrollLockMask_ = 0;
    xcb_connection_t* c = session_->connection();
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(c);
    auto* mapping = xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr);
    if (symbols && mapping) {
        const xcb_keycode_t* modKeys = xcb_get_modifier_mapping_keycodes(mapping);
        const int perModifier = mapping->keycodes_per_modifier;
        auto maskOf = [&](xcb_keysym_t keysym) -> std::uint16_t {
            xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
            std::uint16_t mask = 0;
            for (int mod = 0; codes && mod < 8; ++mod)
                for (int k = 0; k < perModifier; ++k)
                    for (xcb_keycode_t* code = codes; *code != XCB_NO_SYMBOL; ++code)
                        if (modKeys[mod * perModifier + k] == *code)
                            mask |= std::uint16_t(1u << mod);
            free(codes);
            return mask;
        };
        numLockMask_ = maskOf(XKB_KEY_Num_Lock);
        scrollLockMask_ = maskOf(XKB_KEY_Scroll_Lock);
    }
    free(mapping);
    if (symbols)
        xcb_key_symbols_free(symbols);
}

std::vector<std::uint16_t> X11HotKeyEvents::lockCombinations() const {
    std::vector<std::uint16_t> locks{0};
    for (std::uint16_t mask : {std::uint16_t(XCB_MOD_MASK_LOCK), numLockMask_, scrollLockMask_}) {
        if (!mask || (mask & grabbedModifiers))
            continue;
        const std::size_t n = locks.size();
        for (std::size_t i = 0; i < n; ++i)
            if (!(locks[i] & mask))
                locks.push_back(locks[i] | mask);
    }
    return locks;
}

std::uint8_t X11HotKeyEvents::keycodeFor(std::uint32_t carbonKeyCode) const {
    const auto key = carbonKeyByCode(carbonKeyCode);
    if (!key || !keymap_)
        return 0;
    const xkb_keycode_t code = xkb_keymap_key_by_name(keymap_, key->xkbName);
    return code == XKB_KEYCODE_INVALID || code > 255 ? 0 : std::uint8_t(code);
}

bool X11HotKeyEvents::grab(std::uint8_t keycode, std::uint16_t modifiers) {
    xcb_connection_t* c = session_->connection();
    const auto locks = lockCombinations();
    std::vector<xcb_void_cookie_t> cookies;
    for (auto lock : locks)
        cookies.push_back(xcb_grab_key_checked(c, 1, session_->root(), modifiers | lock, keycode,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    bool ok = true;
    std::vector<std::uint16_t> held;
    for (std::size_t i = 0; i < cookies.size(); ++i) {
        if (xcb_generic_error_t* error = xcb_request_check(c, cookies[i])) {
            ok = false;
            free(error);
        } else {
            held.push_back(modifiers | locks[i]);
        }
    }
    scheduleDrain();
    // A lost connection answers every check with "no error".
    if (connectionLost())
        return false;
    if (!ok) {
        // All or nothing: another client holds part of the combination.
        for (auto mods : held)
            xcb_ungrab_key(c, keycode, session_->root(), mods);
        xcb_flush(c);
    }
    return ok;
}

void X11HotKeyEvents::ungrab(std::uint8_t keycode, std::uint16_t modifiers) {
    if (!keycode)
        return;
    for (auto lock : lockCombinations())
        xcb_ungrab_key(session_->connection(), keycode, session_->root(), modifiers | lock);
    xcb_flush(session_->connection());
}

bool X11HotKeyEvents::sharedByAnother(EventHotKeyRef ref, const Grab& g) const {
    for (const auto& [other, o] : grabs_)
        if (other != ref && o.keycode == g.keycode && o.modifiers == g.modifiers)
            return true;
    return false;
}

OSStatus X11HotKeyEvents::registerEventHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                              EventHotKeyID id, EventHotKeyRef* out) {
    *out = 0;
    if (!ensureReady() || connectionLost())
        return eventInternalErr;
    Grab g{keyCode, modifiers, id, keycodeFor(keyCode), xModifiers(modifiers)};
    if (!g.keycode) {
        qCWarning(lcX11Keys) << "no key at the position of key code" << keyCode << "in the current keymap";
        return eventHotKeyInvalidErr;
    }
    bool alreadyOurs = false;
    for (const auto& [ref, o] : grabs_)
        alreadyOurs = alreadyOurs || (o.keycode == g.keycode && o.modifiers == g.modifiers);
    if (!alreadyOurs && !grab(g.keycode, g.modifiers)) {
        if (connectionLost())
            return eventInternalErr;
        qCInfo(lcX11Keys) << "another client already holds the hot key" << keyCode << modifiers;
        return eventHotKeyExistsErr;
    }
    *out = ++nextRef_;
    grabs_[*out] = g;
    return noErr;
}

bool X11HotKeyEvents::heldByAnotherProgram(std::uint32_t keyCode, std::uint32_t modifiers) {
    if (!ensureReady() || connectionLost())
        return false;
    const std::uint8_t keycode = keycodeFor(keyCode);
    const std::uint16_t xMods = xModifiers(modifiers);
    if (!keycode)
        return false;
    for (const auto& [ref, o] : grabs_)
        if (o.keycode == keycode && o.modifiers == xMods)
            return false; // ours
    if (grab(keycode, xMods)) {
        ungrab(keycode, xMods);
        return false;
    }
    return !connectionLost();
}

OSStatus X11HotKeyEvents::unregisterEventHotKey(EventHotKeyRef ref) {
    const auto it = grabs_.find(ref);
    if (it == grabs_.end())
        return eventHotKeyInvalidErr;
    if (!sharedByAnother(ref, it->second)) {
        ungrab(it->second.keycode, it->second.modifiers);
        // A release that no longer reaches us must not leave the key marked as held: its next press
        // would be taken for a repeat and swallowed.
        const auto held = pressed_.find(it->second.keycode);
        if (held != pressed_.end() && held->second.id == it->second.id.id)
            pressed_.erase(held);
    }
    grabs_.erase(it);
    return noErr;
}

// Our own round trips (grab checks, keymap reads) may have queued events that the socket notifier
// will never announce.
void X11HotKeyEvents::scheduleDrain() {
    QMetaObject::invokeMethod(this, &X11HotKeyEvents::drainEvents, Qt::QueuedConnection);
}

void X11HotKeyEvents::drainEvents() {
    if (!session_)
        return;
    if (connectionLost())
        return;
    xcb_connection_t* c = session_->connection();
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
        handleEvent(event);
        free(event);
    }
}

void X11HotKeyEvents::handleEvent(const void* raw) {
    const auto* event = static_cast<const xcb_generic_event_t*>(raw);
    const std::uint8_t type = event->response_type & 0x7f;
    const std::uint16_t locks = XCB_MOD_MASK_LOCK | numLockMask_ | scrollLockMask_;
    if (type == XCB_KEY_PRESS) {
        const auto* key = static_cast<const xcb_key_press_event_t*>(raw);
        if (pressed_.count(key->detail))
            return; // auto-repeat of a held hot key
        const std::uint16_t mods = key->state & ~locks & 0xff;
        for (const auto& [ref, g] : grabs_) {
            if (g.keycode == key->detail && g.modifiers == mods) {
                pressed_[key->detail] = g.id;
                handler_.deliver(kEventHotKeyPressed, g.id);
                return;
            }
        }
    } else if (type == XCB_KEY_RELEASE) {
        // Matched by keycode alone: the modifiers may already be up.
        const auto* key = static_cast<const xcb_key_release_event_t*>(raw);
        const auto it = pressed_.find(key->detail);
        if (it == pressed_.end())
            return;
        const EventHotKeyID id = it->second;
        pressed_.erase(it);
        handler_.deliver(kEventHotKeyReleased, id);
    } else if (type == XCB_MAPPING_NOTIFY) {
        const auto* mapping = static_cast<const xcb_mapping_notify_event_t*>(raw);
        if (mapping->request != XCB_MAPPING_POINTER)
            keymapDebounce_.start();
    } else if (type == session_->firstXkbEvent()) {
        const std::uint8_t xkbType = reinterpret_cast<const std::uint8_t*>(raw)[1];
        if (xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY || xkbType == XCB_XKB_MAP_NOTIFY)
            keymapDebounce_.start();
    }
}

void X11HotKeyEvents::regrabAll() {
    if (!session_)
        return;
    ++keymapRefreshes_;
    const auto oldLocks = lockCombinations();
    std::map<EventHotKeyRef, std::uint8_t> oldKeycodes;
    for (const auto& [ref, g] : grabs_)
        oldKeycodes[ref] = g.keycode;
    const auto oldMasks = std::make_pair(numLockMask_, scrollLockMask_);
    refreshKeymap();
    scheduleDrain();

    bool changed = oldMasks != std::make_pair(numLockMask_, scrollLockMask_);
    for (auto& [ref, g] : grabs_) {
        g.keycode = keycodeFor(g.carbonKeyCode);
        changed = changed || g.keycode != oldKeycodes[ref];
    }
    // Switching between keyboards announces a "new" keymap that is often the same one; the grabs
    // (and a press in progress) are left alone then.
    if (!changed)
        return;
    ++regrabCount_;
    xcb_connection_t* c = session_->connection();
    std::set<std::pair<std::uint8_t, std::uint16_t>> released;
    for (const auto& [ref, g] : grabs_)
        if (oldKeycodes[ref] && released.insert({oldKeycodes[ref], g.modifiers}).second)
            for (auto lock : oldLocks)
                xcb_ungrab_key(c, oldKeycodes[ref], session_->root(), g.modifiers | lock);
    std::set<std::pair<std::uint8_t, std::uint16_t>> held;
    for (auto& [ref, g] : grabs_) {
        if (!g.keycode) {
            qCWarning(lcX11Keys) << "the new keymap has no key for hot key" << g.carbonKeyCode;
            continue;
        }
        if (held.count({g.keycode, g.modifiers}))
            continue;
        if (grab(g.keycode, g.modifiers)) {
            held.insert({g.keycode, g.modifiers});
        } else {
            qCWarning(lcX11Keys) << "after the keymap change another client holds hot key" << g.carbonKeyCode;
            g.keycode = 0;
        }
    }
    xcb_flush(c);
}

} // namespace platform::linux_
