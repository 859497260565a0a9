// SPDX-License-Identifier: GPL-3.0-or-later
// Prints an xdg-activation token the compositor issues to this program, as the app a user clicked a
// link in would get one to hand on. KWin issues it to a program its desktop entry marks as trusted
// with window management, whichever window has the focus.
#include "xdg-activation-v1-client-protocol.h"

#include <stdio.h>
#include <string.h>
#include <wayland-client.h>

static struct xdg_activation_v1* activation;
static char token[256];

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)data;
    (void)version;
    if (strcmp(interface, xdg_activation_v1_interface.name) == 0)
        activation = wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1);
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {global, global_remove};

static void done(void* data, struct xdg_activation_token_v1* provider, const char* text) {
    (void)data;
    (void)provider;
    snprintf(token, sizeof token, "%s", text);
}

static const struct xdg_activation_token_v1_listener token_listener = {done};

int main(void) {
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "no Wayland display\n");
        return 1;
    }
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, NULL);
    wl_display_roundtrip(display);
    if (!activation) {
        fprintf(stderr, "the compositor offers no xdg-activation\n");
        return 1;
    }
    struct xdg_activation_token_v1* provider = xdg_activation_v1_get_activation_token(activation);
    xdg_activation_token_v1_add_listener(provider, &token_listener, NULL);
    xdg_activation_token_v1_commit(provider);
    for (int i = 0; i < 5 && !token[0]; ++i)
        wl_display_roundtrip(display);
    if (!token[0])
        return 1;
    printf("%s\n", token);
    wl_display_disconnect(display);
    return 0;
}
