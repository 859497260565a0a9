// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <memory>

struct xcb_connection_t;
struct xkb_context;
struct xkb_keymap;

namespace platform::linux_ {

// A dedicated X connection with the XKB extension set up; Qt's own connection is never touched.
class XkbSession {
public:
    // Opens a connection to $DISPLAY when Qt itself runs on X11; none (with `why` set) otherwise.
    static std::unique_ptr<XkbSession> open(QString* why);
    ~XkbSession();
    XkbSession(const XkbSession&) = delete;
    XkbSession& operator=(const XkbSession&) = delete;

    xcb_connection_t* connection() const { return connection_; }
    std::uint32_t root() const { return root_; }
    std::int32_t deviceId() const { return deviceId_; }
    std::uint8_t firstXkbEvent() const { return firstEvent_; }
    xkb_context* context() const { return context_; }

    // The keymap the server has now; the caller owns the result (xkb_keymap_unref).
    xkb_keymap* fetchKeymap() const;
    // The layout group currently active on the core keyboard.
    std::uint32_t currentGroup() const;
    // Asks the server to tell this connection when the keyboard or its map changes.
    void selectKeymapChangeEvents() const;

private:
    XkbSession() = default;
    xcb_connection_t* connection_ = nullptr;
    std::uint32_t root_ = 0;
    std::int32_t deviceId_ = -1;
    std::uint8_t firstEvent_ = 0;
    xkb_context* context_ = nullptr;
};

// Opens the session on first need and remembers a failure, which is logged once.
class XkbSessionProvider {
public:
    XkbSession* session();

private:
    std::unique_ptr<XkbSession> session_;
    bool failed_ = false;
};

} // namespace platform::linux_
