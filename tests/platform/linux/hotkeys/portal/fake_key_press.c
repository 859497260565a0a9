// SPDX-License-Identifier: GPL-3.0-or-later
/* Presses the given evdev key codes in order and releases them in reverse, through KWin's fake-input
 * protocol: a real key press as the compositor sees it, down and up. KWin offers the protocol only to
 * a program whose desktop entry names it (Exec) and asks for it (X-KDE-Wayland-Interfaces). */
#include "fake-input-client-protocol.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wayland-client.h>

static struct org_kde_kwin_fake_input* fake_input;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
                   uint32_t version) {
    (void)data;
    if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
        fake_input = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name) {
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener listener = {global, global_remove};

int main(int argc, char** argv) {
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "fake_key_press: no Wayland display\n");
        return 2;
    }
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, NULL);
    wl_display_roundtrip(display);
    if (!fake_input) {
        fprintf(stderr,
                "fake_key_press: the compositor does not offer org_kde_kwin_fake_input (version 4)\n");
        return 3;
    }
    org_kde_kwin_fake_input_authenticate(fake_input, "Tolvane tests", "press a global shortcut");
    for (int i = 1; i < argc; ++i)
        org_kde_kwin_fake_input_keyboard_key(fake_input, (uint32_t)atoi(argv[i]), 1);
    wl_display_roundtrip(display);
    for (int i = argc - 1; i >= 1; --i)
        org_kde_kwin_fake_input_keyboard_key(fake_input, (uint32_t)atoi(argv[i]), 0);
    int ok = wl_display_roundtrip(display) >= 0;
    org_kde_kwin_fake_input_destroy(fake_input);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return ok ? 0 : 4;
}
