// SPDX-License-Identifier: GPL-3.0-or-later
#include "XdgActivation.h"

#include "xdg-activation-v1-client-protocol.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

#include <cstring>
#include <wayland-client.h>

Q_LOGGING_CATEGORY(lcActivation, "app.tolvane.Tolvane.activation")

namespace Tolvane::XdgActivation {
namespace {

bool onWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

struct Asking {
    xdg_activation_v1* activation = nullptr;
    QByteArray token;
    bool answered = false;
};

void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* asking = static_cast<Asking*>(data);
    if (!asking->activation && std::strcmp(interface, xdg_activation_v1_interface.name) == 0)
        asking->activation = static_cast<xdg_activation_v1*>(
            wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
}

void globalRemoved(void*, wl_registry*, uint32_t) {}

const wl_registry_listener registryListener{global, globalRemoved};

void done(void* data, xdg_activation_token_v1*, const char* token) {
    auto* asking = static_cast<Asking*>(data);
    asking->token = token;
    asking->answered = true;
}

const xdg_activation_token_v1_listener tokenListener{done};

} // namespace

void offer(const QString& token) {
    // On X11 the token means nothing, and left in the environment it would reach every program
    // Tolvane starts.
    if (token.isEmpty() || !onWayland())
        return;
    qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    qCDebug(lcActivation, "Activation token kept for the next window");
}

QByteArray freshToken(QWindow* focused, const QString& appId) {
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (!focused || !native || !onWayland())
        return {};
    auto* display = static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"));
    auto* surface = static_cast<wl_surface*>(native->nativeResourceForWindow("surface", focused));
    auto* seat = static_cast<wl_seat*>(native->nativeResourceForIntegration("wl_seat"));
    // The compositor judges the request by the input it answers: the key or click just made here.
    const auto serial = uint32_t(quintptr(native->nativeResourceForIntegration("serial")));
    if (!display || !surface)
        return {};

    // A queue of our own: Qt's events stay where Qt dispatches them.
    wl_event_queue* queue = wl_display_create_queue(display);
    auto* ours = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(ours), queue);
    wl_registry* registry = wl_display_get_registry(ours);
    Asking asking;
    wl_registry_add_listener(registry, &registryListener, &asking);
    wl_display_roundtrip_queue(display, queue);
    if (asking.activation) {
        xdg_activation_token_v1* token = xdg_activation_v1_get_activation_token(asking.activation);
        xdg_activation_token_v1_add_listener(token, &tokenListener, &asking);
        xdg_activation_token_v1_set_surface(token, surface);
        if (seat && serial)
            xdg_activation_token_v1_set_serial(token, serial, seat);
        QString id = appId;
        if (id.endsWith(QLatin1String(".desktop")))
            id.chop(8);
        if (!id.isEmpty())
            xdg_activation_token_v1_set_app_id(token, id.toUtf8().constData());
        xdg_activation_token_v1_commit(token);
        for (int trip = 0; trip < 3 && !asking.answered; ++trip)
            if (wl_display_roundtrip_queue(display, queue) < 0)
                break;
        xdg_activation_token_v1_destroy(token);
        xdg_activation_v1_destroy(asking.activation);
    }
    wl_registry_destroy(registry);
    wl_proxy_wrapper_destroy(ours);
    wl_event_queue_destroy(queue);
    if (asking.token.isEmpty())
        qCInfo(lcActivation, "The compositor gave no activation token for the browser");
    else
        qCDebug(lcActivation, "Activation token for %s after input %u", qPrintable(appId), serial);
    return asking.token;
}

} // namespace Tolvane::XdgActivation
