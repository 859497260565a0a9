// SPDX-License-Identifier: GPL-3.0-or-later
#include "XkbKeyboardLayout.h"

#include "platform/linux/hotkeys/CarbonKeyTable.h"
#include "platform/linux/hotkeys/XkbKeyText.h"

#include <xcb/xcb.h>
// The XKB protocol header uses a C++ keyword as a field name.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon.h>

namespace platform::linux_ {

XkbKeyboardLayout::~XkbKeyboardLayout() {
    if (keymap_)
        xkb_keymap_unref(keymap_);
}

xkb_keymap* XkbKeyboardLayout::keymap(XkbSession* session) {
    xcb_connection_t* c = session->connection();
    if (watched_ != session) {
        watched_ = session;
        stale_ = true;
        // Compiling a keymap takes a round trip and real work; it is redone only when the server
        // says the keyboard or its map changed. Nothing else is read on this connection.
        session->selectKeymapChangeEvents();
        xcb_flush(c);
    }
    // Events the server sent before the caller's last round trip are already queued here.
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
        const std::uint8_t type = event->response_type & 0x7f;
        if (type == XCB_MAPPING_NOTIFY)
            stale_ = true;
        else if (type == session->firstXkbEvent()) {
            const std::uint8_t xkbType = reinterpret_cast<const std::uint8_t*>(event)[1];
            stale_ = stale_ || xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY || xkbType == XCB_XKB_MAP_NOTIFY;
        }
        free(event);
    }
    if (stale_ || !keymap_) {
        if (xkb_keymap* fresh = session->fetchKeymap()) {
            if (keymap_)
                xkb_keymap_unref(keymap_);
            keymap_ = fresh;
            stale_ = false;
        }
        ++keymapFetches_;
    }
    return keymap_;
}

std::optional<QString> XkbKeyboardLayout::characterForKey(std::uint16_t carbonKeyCode) {
    XkbSession* session = carbonKeyByCode(carbonKeyCode) ? sessions_->session() : nullptr;
    if (!session)
        return std::nullopt;
    // The group query is a round trip: any layout change made before it has been announced by then,
    // so a layout switched a moment ago is the one shown.
    const std::uint32_t group = session->currentGroup();
    return keyText(keymap(session), carbonKeyCode, group);
}

std::optional<std::int64_t> XkbKeyboardLayout::carbonKeyCode(std::uint32_t nativeKeyCode) {
    XkbSession* session = sessions_->session();
    return session ? carbonKeyCodeOf(keymap(session), nativeKeyCode) : std::nullopt;
}

} // namespace platform::linux_
