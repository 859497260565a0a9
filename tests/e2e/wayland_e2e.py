# SPDX-License-Identifier: GPL-3.0-or-later
"""The real Tolvane on a headless Wayland compositor (weston) through Qt's wayland platform: with the
GlobalShortcuts portal (Debian's frontend and the test back end) a key the desktop reports switches the
browser; without one, Tolvane says plainly that global shortcuts are unavailable."""
import os
import subprocess
import unittest

from desktop import Desktop, bus_config, ini_string, wait_for

TOLVANE = os.environ["TOLVANE_BIN"]
BACKEND = os.environ["TOLVANE_PORTAL_BACKEND"]
BACKEND_NAME = "org.freedesktop.impl.portal.desktop.tolvanetest"
PORTAL = "/usr/libexec/xdg-desktop-portal"

class WaylandEndToEnd(unittest.TestCase):
    def setUp(self):
        self.desk = Desktop()
        self.addCleanup(self.desk.close, [TOLVANE])
        self.desk.browser("alpha", "Alpha")
        bravo = self.desk.browser("bravo", "Bravo")
        self.desk.write(".config/mimeapps.list", "[Default Applications]\nx-scheme-handler/https=alpha.desktop;\n")
        self.desk.write(".config/tolvane/group.tolva.conf",
                        "[General]\nsettings.settingsToggleBrowser=true\nsettings.settingsToggleBrowserId=%s\n"
                        % ini_string("bravo::file://" + bravo))
        # Control+Option+B.
        self.desk.write(".config/tolvane/tolvane.conf",
                        "[General]\nGlobalKeys_toggleSystemBrowserKeys=%s\n"
                        % ini_string('{"carbonKeyCode":11,"carbonModifiers":6144}'))
        # Wayland clients and the compositor insist on a private runtime folder.
        os.chmod(self.desk.home, 0o700)
        self.desk.env.pop("DISPLAY", None)
        self.desk.env.update({"QT_QPA_PLATFORM": "wayland", "WAYLAND_DISPLAY": "tolvane-wayland",
                              "XKB_DEFAULT_LAYOUT": "us"})
        self.desk.spawn(["weston", "--backend=headless-backend.so", "--socket=tolvane-wayland", "--idle-time=0",
                         "--no-config"])
        socket = os.path.join(self.desk.home, "tolvane-wayland")
        self.assertTrue(wait_for(lambda: os.path.exists(socket)), "weston did not start")

    def start_bus(self):
        config = self.desk.write("bus.conf", bus_config(self.desk.home))
        out = open(os.path.join(self.desk.home, "bus.out"), "w+")
        self.addCleanup(out.close)
        self.desk.spawn(["dbus-daemon", "--config-file=" + config, "--nofork", "--print-address=1"], stdout=out)
        address = wait_for(lambda: open(out.name).readline().strip())
        self.assertTrue(address, "the private bus did not start")
        self.desk.env["DBUS_SESSION_BUS_ADDRESS"] = address

    def start_portal(self):
        self.desk.write("portals/tolvanetest.portal",
                        "[portal]\nDBusName=%s\nInterfaces=org.freedesktop.impl.portal.GlobalShortcuts\n"
                        "UseIn=tolvanetest\n" % BACKEND_NAME)
        backend = self.desk.spawn([BACKEND, BACKEND_NAME])
        self.assertTrue(wait_for(lambda: self.has_owner(BACKEND_NAME), watch=[backend]),
                        "the test back end did not start")
        env = dict(self.desk.env, XDG_DESKTOP_PORTAL_DIR=os.path.join(self.desk.home, "portals"),
                   XDG_CURRENT_DESKTOP="tolvanetest",
                   # Newer frontends read GSettings and abort without schemas; the private data dirs have none.
                   GSETTINGS_SCHEMA_DIR="/usr/share/glib-2.0/schemas")
        portal = subprocess.Popen([PORTAL], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.desk.procs.append(portal)
        self.assertTrue(wait_for(lambda: self.has_owner("org.freedesktop.portal.Desktop"), watch=[portal]),
                        "xdg-desktop-portal did not start")

    def has_owner(self, name):
        return "true" in self.desk.run(["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus",
                                        "--object-path", "/org/freedesktop/DBus", "--method",
                                        "org.freedesktop.DBus.NameHasOwner", name]).stdout

    def backend(self, method, *args):
        return self.desk.run(["gdbus", "call", "--session", "--dest", BACKEND_NAME, "--object-path", "/control",
                              "--method", "app.tolvane.test.ShortcutsBackend." + method, *args]).stdout

    def start_tolvane(self):
        self.log_path = os.path.join(self.desk.home, "tolvane.out")
        log = open(self.log_path, "w")
        self.addCleanup(log.close)
        self.proc = self.desk.spawn([TOLVANE], stdout=log, stderr=log)

    def logged(self, text):
        with open(self.log_path, encoding="utf-8", errors="replace") as f:
            return [line for line in f.read().splitlines() if text in line]

    def test_portal_binds_the_stored_shortcut_and_a_press_switches(self):
        self.start_bus()
        self.start_portal()
        self.start_tolvane()
        self.assertTrue(wait_for(lambda: "toggleSystemBrowserKeys" in self.backend("Binds"), watch=[self.proc]),
                        open(self.log_path).read())
        self.assertIn("CTRL+ALT+b", self.backend("Binds"))
        chosen = self.logged("global shortcuts through the desktop's GlobalShortcuts portal")
        self.assertEqual(len(chosen), 1, open(self.log_path).read())
        self.assertIn('Qt runs on the "wayland" platform', chosen[0])
        self.assertEqual(self.logged("unavailable"), [])
        self.backend("Press", "toggleSystemBrowserKeys")
        self.backend("Release", "toggleSystemBrowserKeys")
        self.assertTrue(wait_for(lambda: self.desk.default_for("x-scheme-handler/https") == "bravo.desktop"))
        self.assertEqual(len(self.logged("Setting default browser to bravo")), 1)
        self.assertIsNone(self.proc.poll(), "Tolvane keeps running")

    def test_without_a_portal_it_says_shortcuts_are_unavailable(self):
        self.start_bus()
        self.start_tolvane()
        line = wait_for(lambda: self.logged("global shortcuts are unavailable"), watch=[self.proc])
        self.assertTrue(line, open(self.log_path).read())
        self.assertEqual(len(line), 1)
        self.assertIn('Qt runs on the "wayland" platform', line[0])
        self.assertIn("no GlobalShortcuts portal", line[0])
        self.assertIsNone(self.proc.poll(), "Tolvane keeps running")


if __name__ == "__main__":
    unittest.main()
