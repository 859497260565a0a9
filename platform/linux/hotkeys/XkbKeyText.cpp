// SPDX-License-Identifier: GPL-3.0-or-later
#include "XkbKeyText.h"

#include "CarbonKeyTable.h"

#include <QLoggingCategory>

#include <xkbcommon/xkbcommon.h>

// Shared by the X11 grabs and the configured layout on Wayland.
Q_LOGGING_CATEGORY(lcX11Keys, "GlobalKeys.x11")

namespace platform::linux_ {
namespace {

xkb_keycode_t keycodeOf(xkb_keymap* keymap, std::uint16_t carbonKeyCode) {
    const auto key = carbonKeyByCode(carbonKeyCode);
    return key && keymap ? xkb_keymap_key_by_name(keymap, key->xkbName) : XKB_KEYCODE_INVALID;
}

} // namespace

std::optional<QString> keyText(xkb_keymap* keymap, std::uint16_t carbonKeyCode, std::uint32_t group) {
    const xkb_keycode_t code = keycodeOf(keymap, carbonKeyCode);
    if (code == XKB_KEYCODE_INVALID)
        return std::nullopt;
    xkb_state* state = xkb_state_new(keymap);
    if (!state)
        return std::nullopt;
    xkb_state_update_mask(state, 0, 0, 0, 0, 0, group);
    char buffer[64] = {};
    const int length = xkb_state_key_get_utf8(state, code, buffer, sizeof buffer);
    xkb_state_unref(state);
    const QString utf8 = length > 0 ? QString::fromUtf8(buffer, length) : QString();
    return (utf8.size() == 1 && utf8[0].category() == QChar::Other_Control) ? QString() : utf8;
}

std::optional<std::int64_t> carbonKeyCodeOf(xkb_keymap* keymap, std::uint32_t xkbKeyCode) {
    if (!keymap)
        return std::nullopt;
    if (const char* name = xkb_keymap_key_get_name(keymap, xkbKeyCode))
        if (const auto key = carbonKeyByXkbName(name))
            return key->carbonKeyCode;
    return std::nullopt;
}

QString keysymName(xkb_keymap* keymap, std::uint16_t carbonKeyCode) {
    const xkb_keycode_t code = keycodeOf(keymap, carbonKeyCode);
    const xkb_keysym_t* syms = nullptr;
    if (code == XKB_KEYCODE_INVALID || xkb_keymap_key_get_syms_by_level(keymap, code, 0, 0, &syms) < 1)
        return {};
    char name[64] = {};
    return xkb_keysym_get_name(syms[0], name, sizeof name) > 0 ? QString::fromLatin1(name) : QString();
}

} // namespace platform::linux_
