// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "XkbSession.h"
#include "platform/KeyboardLayout.h"

#include <memory>

struct xkb_keymap;

namespace platform::linux_ {

// Key texts from the X server's current keymap and layout group, through xkbcommon.
// The compiled keymap is kept until the server announces a change on this session's connection.
class XkbKeyboardLayout : public KeyboardLayout {
public:
    explicit XkbKeyboardLayout(std::shared_ptr<XkbSessionProvider> sessions)
        : sessions_(std::move(sessions)) {}
    ~XkbKeyboardLayout() override;
    XkbKeyboardLayout(const XkbKeyboardLayout&) = delete;
    XkbKeyboardLayout& operator=(const XkbKeyboardLayout&) = delete;

    std::optional<QString> characterForKey(std::uint16_t carbonKeyCode) override;
    std::optional<std::int64_t> carbonKeyCode(std::uint32_t nativeKeyCode) override;

    // How often a keymap was fetched and compiled (for tests and diagnostics).
    int keymapFetches() const { return keymapFetches_; }

private:
    // The current keymap: refetched when a keymap notification arrived since the last call.
    xkb_keymap* keymap(XkbSession* session);

    std::shared_ptr<XkbSessionProvider> sessions_;
    XkbSession* watched_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    bool stale_ = true;
    int keymapFetches_ = 0;
};

} // namespace platform::linux_
