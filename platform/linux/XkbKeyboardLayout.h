#pragma once

#include "XkbSession.h"
#include "platform/KeyboardLayout.h"

#include <memory>

namespace platform::linux_ {

// Key texts from the X server's current keymap and layout group, through xkbcommon.
class XkbKeyboardLayout : public KeyboardLayout {
public:
    explicit XkbKeyboardLayout(std::shared_ptr<XkbSessionProvider> sessions)
        : sessions_(std::move(sessions)) {}

    std::optional<QString> characterForKey(std::uint16_t carbonKeyCode) override;
    std::optional<std::int64_t> carbonKeyCode(std::uint32_t nativeKeyCode) override;

private:
    std::shared_ptr<XkbSessionProvider> sessions_;
};

} // namespace platform::linux_
