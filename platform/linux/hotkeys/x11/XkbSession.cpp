// SPDX-License-Identifier: GPL-3.0-or-later
#include "XkbSession.h"

#include <QGuiApplication>
#include <QLoggingCategory>

#include <utility>

#include <xcb/xcb.h>
// The XKB protocol header uses a C++ keyword as a field name.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-x11.h>

Q_DECLARE_LOGGING_CATEGORY(lcX11Keys)

namespace platform::linux_ {

std::unique_ptr<XkbSession> XkbSession::open(QString* why) {
    const QString platformName = QGuiApplication::platformName();
    if (platformName != QLatin1String("xcb")) {
        *why = QStringLiteral("Qt runs on the \"%1\" platform, not on X11")
                   .arg(platformName.isEmpty() ? QStringLiteral("none") : platformName);
        return nullptr;
    }
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        *why = QStringLiteral("DISPLAY is not set");
        return nullptr;
    }
    std::unique_ptr<XkbSession> session(new XkbSession);
    int screenNumber = 0;
    session->connection_ = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(session->connection_)) {
        *why = QStringLiteral("cannot connect to the X server at %1").arg(qEnvironmentVariable("DISPLAY"));
        return nullptr;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(session->connection_));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    if (!it.rem) {
        *why = QStringLiteral("the X server has no screen %1").arg(screenNumber);
        return nullptr;
    }
    session->root_ = it.data->root;
    if (!xkb_x11_setup_xkb_extension(session->connection_, XKB_X11_MIN_MAJOR_XKB_VERSION,
                                     XKB_X11_MIN_MINOR_XKB_VERSION, XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS,
                                     nullptr, nullptr, &session->firstEvent_, nullptr)) {
        *why = QStringLiteral("the X server lacks the XKB extension");
        return nullptr;
    }
    session->deviceId_ = xkb_x11_get_core_keyboard_device_id(session->connection_);
    session->context_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (session->deviceId_ < 0 || !session->context_) {
        *why = QStringLiteral("no core keyboard");
        return nullptr;
    }
    return session;
}

XkbSession::~XkbSession() {
    if (context_)
        xkb_context_unref(context_);
    if (connection_)
        xcb_disconnect(connection_);
}

xkb_keymap* XkbSession::fetchKeymap() const {
    return xkb_x11_keymap_new_from_device(context_, connection_, deviceId_, XKB_KEYMAP_COMPILE_NO_FLAGS);
}

std::uint32_t XkbSession::currentGroup() const {
    xcb_xkb_get_state_reply_t* reply =
        xcb_xkb_get_state_reply(connection_, xcb_xkb_get_state(connection_, deviceId_), nullptr);
    if (!reply)
        return 0;
    const std::uint32_t group = reply->group;
    free(reply);
    return group;
}

XkbSession* XkbSessionProvider::session() {
    if (session_ || failed_)
        return session_.get();
    QString why;
    session_ = XkbSession::open(&why);
    if (!session_) {
        failed_ = true;
        // One line per process, however many adapters ask.
        static bool reported = false;
        if (!std::exchange(reported, true))
            qCWarning(lcX11Keys).noquote() << "global shortcuts are unavailable:" << why;
    }
    return session_.get();
}

void XkbSession::selectKeymapChangeEvents() const {
    const std::uint16_t mapParts = XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS |
                                   XCB_XKB_MAP_PART_MODIFIER_MAP | XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS |
                                   XCB_XKB_MAP_PART_KEY_ACTIONS | XCB_XKB_MAP_PART_VIRTUAL_MODS |
                                   XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
    xcb_xkb_select_events_details_t details{};
    details.affectNewKeyboard = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.newKeyboardDetails = XCB_XKB_NKN_DETAIL_KEYCODES;
    xcb_xkb_select_events_aux(connection_, XCB_XKB_ID_USE_CORE_KBD,
                              XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY, 0, 0,
                              mapParts, mapParts, &details);
}

} // namespace platform::linux_
