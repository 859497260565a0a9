# SPDX-License-Identifier: GPL-3.0-or-later
"""Tolvane started before Plasma 6's tray service, as at a login with autostart: KWin's virtual
session, Tolvane under Plasma's Qt integration (the platform theme that backs Qt's tray icon with an
item of its own), then the real kded6 with its StatusNotifier watcher, then a host. Tolvane must stay
running with exactly one item on the watcher, started by the session (--autostart) or by the user."""
import glob
import os
import shutil
import subprocess
import time
import unittest

from desktop import Desktop, DesktopProcesses, wait_for

TOLVANE = os.environ["TOLVANE_BIN"]
HOST = os.path.join(os.environ["TOLVANE_SOURCE_DIR"], "tests", "support", "status_notifier_host.py")
KWIN = "/usr/bin/kwin_wayland"
KDED = "/usr/bin/kded6"
PLASMA_THEME = glob.glob("/usr/lib/*/qt6/plugins/platformthemes/KDEPlasmaPlatformTheme6.so")
# kded6 serves the watcher through this module of Plasma's workspace.
WATCHER_MODULE = glob.glob("/usr/lib/*/qt6/plugins/kf6/kded/statusnotifierwatcher.so")
SOCKET = "tolvane-kwin-tray"
# Debian's Python: GLib's bindings are its package.
SYSTEM_PYTHON = "/usr/bin/python3"


class PlasmaTrayLateEndToEnd(DesktopProcesses, unittest.TestCase):
    def setUp(self):
        if not os.path.exists(KDED) or not PLASMA_THEME or not WATCHER_MODULE:
            self.skipTest("kded6, the Plasma 6 workspace and its Qt integration (Debian 13 and later) "
                          "are not installed")
        self.desk = Desktop()
        self.addCleanup(self.desk.close, [TOLVANE])
        self.desk.browser("alpha", "Alpha")
        self.desk.write(".config/mimeapps.list", "[Default Applications]\nx-scheme-handler/https=alpha.desktop;\n")
        os.chmod(self.desk.home, 0o700)  # Wayland insists on a private runtime folder
        self.desk.env.pop("DISPLAY", None)
        address, _ = self.desk.start_bus("bus")
        # What a Plasma session tells every program it starts; kded6 loads the watcher only then.
        self.desk.env.update({"DBUS_SESSION_BUS_ADDRESS": address, "WAYLAND_DISPLAY": SOCKET,
                              "XKB_DEFAULT_LAYOUT": "us", "XDG_CURRENT_DESKTOP": "KDE", "XDG_SESSION_TYPE": "wayland",
                              "KDE_FULL_SESSION": "true", "KDE_SESSION_VERSION": "6"})
        self.system_env = dict(self.desk.env, XDG_DATA_DIRS="/usr/local/share:/usr/share", XDG_CONFIG_DIRS="/etc/xdg")
        # The installed binary carries a file capability that containers refuse at exec; a copy has none.
        kwin = os.path.join(self.desk.home, "kwin", "kwin_wayland")
        os.makedirs(os.path.dirname(kwin))
        shutil.copy(KWIN, kwin)
        self.start("kwin", [kwin, "--virtual", "--no-lockscreen", "--socket", SOCKET, "--width", "800",
                            "--height", "600"], dict(self.system_env, QT_QPA_PLATFORM=""),
                   lambda: os.path.exists(os.path.join(self.desk.home, SOCKET)))

    def watcher_answers(self):
        # kded6 owns the watcher's name before the module that serves it is loaded.
        return "(<" in self.bus("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                                "org.freedesktop.DBus.Properties.Get", "org.kde.StatusNotifierWatcher",
                                "IsStatusNotifierHostRegistered")

    def items_of(self, pid):
        listed = self.bus("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                          "org.freedesktop.DBus.Properties.Get", "org.kde.StatusNotifierWatcher",
                          "RegisteredStatusNotifierItems")
        return [entry for entry in listed.split("'") if "StatusNotifierItem-%d-" % pid in entry]

    def check_tray_arriving_late(self, args):
        tolvane = self.start("tolvane", [TOLVANE] + args,
                             dict(self.desk.env, QT_QPA_PLATFORM="wayland", QT_QPA_PLATFORMTHEME="kde"),
                             lambda: "waiting for one to appear" in self.log("tolvane"))
        # The session's services come up after the autostarted programs: first kded6 with the watcher,
        # a few seconds later the shell's tray registers as the host.
        time.sleep(2)
        self.start("kded", [KDED], dict(self.system_env, QT_QPA_PLATFORM="wayland"), self.watcher_answers)
        time.sleep(3)
        self.start("host", [SYSTEM_PYTHON, HOST], self.desk.env, lambda: "registered" in self.log("host"))
        self.assertTrue(wait_for(lambda: tolvane.poll() is not None or "shown by a StatusNotifier host" in
                                 self.log("tolvane"), 30), self.log("tolvane"))
        # Long enough for every tray icon of the process to have come and gone.
        time.sleep(3)
        self.assertIsNone(tolvane.poll(), "Tolvane ended:\n" + self.log("tolvane"))
        self.assertEqual(len(self.items_of(tolvane.pid)), 1, self.log("tolvane"))
        self.assertTrue(self.has_owner("app.tolvane.Tolvane"), "automation stays on the bus")

    def test_started_at_login(self):
        self.check_tray_arriving_late(["--autostart"])

    def test_started_by_the_user(self):
        self.check_tray_arriving_late([])


if __name__ == "__main__":
    unittest.main(verbosity=2)
