#include "XkbKeyboardLayout.h"

#include "CarbonKeyTable.h"

#include <xkbcommon/xkbcommon.h>

namespace platform::linux_ {

std::optional<QString> XkbKeyboardLayout::characterForKey(std::uint16_t carbonKeyCode) {
    const auto key = carbonKeyByCode(carbonKeyCode);
    XkbSession* session = key ? sessions_->session() : nullptr;
    if (!session)
        return std::nullopt;
    // Asked afresh each time, so a layout switched a moment ago is the one shown.
    xkb_keymap* keymap = session->fetchKeymap();
    if (!keymap)
        return std::nullopt;
    std::optional<QString> text;
    const xkb_keycode_t code = xkb_keymap_key_by_name(keymap, key->xkbName);
    if (code != XKB_KEYCODE_INVALID) {
        if (xkb_state* state = xkb_state_new(keymap)) {
            xkb_state_update_mask(state, 0, 0, 0, 0, 0, session->currentGroup());
            char buffer[64] = {};
            const int length = xkb_state_key_get_utf8(state, code, buffer, sizeof buffer);
            // Control characters (Tab, Return, ...) are not something a key shows.
            const QString utf8 = length > 0 ? QString::fromUtf8(buffer, length) : QString();
            text = (utf8.size() == 1 && utf8[0].category() == QChar::Other_Control) ? QString() : utf8;
            xkb_state_unref(state);
        }
    }
    xkb_keymap_unref(keymap);
    return text;
}

std::optional<std::int64_t> XkbKeyboardLayout::carbonKeyCode(std::uint32_t nativeKeyCode) {
    XkbSession* session = sessions_->session();
    if (!session)
        return std::nullopt;
    xkb_keymap* keymap = session->fetchKeymap();
    if (!keymap)
        return std::nullopt;
    std::optional<std::int64_t> carbon;
    if (const char* name = xkb_keymap_key_get_name(keymap, nativeKeyCode))
        if (const auto key = carbonKeyByXkbName(name))
            carbon = key->carbonKeyCode;
    xkb_keymap_unref(keymap);
    return carbon;
}

} // namespace platform::linux_
