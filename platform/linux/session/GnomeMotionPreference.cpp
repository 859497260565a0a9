// SPDX-License-Identifier: GPL-3.0-or-later
#include "GnomeMotionPreference.h"

#include <gio/gio.h>

namespace platform::linux_ {

bool GnomeMotionPreference::reduceMotion() {
    // Looking the schema up first: GSettings aborts the process on a schema that is not installed.
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (!source)
        return false;
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, "org.gnome.desktop.interface", TRUE);
    if (!schema)
        return false;
    bool reduce = false;
    if (g_settings_schema_has_key(schema, "enable-animations")) {
        GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
        reduce = !g_settings_get_boolean(settings, "enable-animations");
        g_object_unref(settings);
    }
    g_settings_schema_unref(schema);
    return reduce;
}

} // namespace platform::linux_
