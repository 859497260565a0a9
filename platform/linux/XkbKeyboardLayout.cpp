#include "XkbKeyboardLayout.h"

#include "CarbonKeyTable.h"

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
    const auto key = carbonKeyByCode(carbonKeyCode);
    XkbSession* session = key ? sessions_->session() : nullptr;
    if (!session)
        return std::nullopt;
    // The group query is a round trip: any layout change made before it has been announced by then,
    // so a layout switched a moment ago is the one shown.
    const std::uint32_t group = session->currentGroup();
    xkb_keymap* map = keymap(session);
    if (!map)
        return std::nullopt;
    std::optional<QString> text;
    const xkb_keycode_t code = xkb_keymap_key_by_name(map, key->xkbName);
    if (code != XKB_KEYCODE_INVALID) {
        if (xkb_state* state = xkb_state_new(map)) {
            xkb_state_update_mask(state, 0, 0, 0, 0, 0, group);
            char buffer[64] = {};
            const int length = xkb_state_key_get_utf8(state, code, buffer, sizeof buffer);
            // Control characters (Tab, Return, ...) are not something a key shows.
            const QString utf8 = length > 0 ? QString::fromUtf8(buffer, length) : QString();
            text = (utf8.size() == 1 && utf8[0].category() == QChar::Other_Control) ? QString() : utf8;
            xkb_state_unref(state);
        }
    }
    return text;
}

std::optional<std::int64_t> XkbKeyboardLayout::carbonKeyCode(std::uint32_t nativeKeyCode) {
    XkbSession* session = sessions_->session();
    if (!session)
        return std::nullopt;
    xkb_keymap* map = keymap(session);
    if (!map)
        return std::nullopt;
    if (const char* name = xkb_keymap_key_get_name(map, nativeKeyCode))
        if (const auto key = carbonKeyByXkbName(name))
            return key->carbonKeyCode;
    return std::nullopt;
}

} // namespace platform::linux_
