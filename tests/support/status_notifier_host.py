# SPDX-License-Identifier: GPL-3.0-or-later
"""A StatusNotifier host in name only: owns a host name on the session bus and registers it with the
running watcher, as a panel's tray does when it starts; then waits until killed. For watchers whose
real host (Plasma's shell) needs a whole GPU-backed session. Run with Debian's Python (GLib's bindings)."""
import os
import sys

from gi.repository import Gio, GLib

bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
name = "org.kde.StatusNotifierHost-%d" % os.getpid()
# Owned before the watcher hears of it: a watcher drops a host whose name has no owner.
bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
              GLib.Variant("(su)", (name, 4)), None, Gio.DBusCallFlags.NONE, 10000, None)
bus.call_sync("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher",
              "RegisterStatusNotifierHost", GLib.Variant("(s)", (name,)), None, Gio.DBusCallFlags.NONE, 10000, None)
print("registered", flush=True)
sys.stdout.close()
GLib.MainLoop().run()
