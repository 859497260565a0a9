# SPDX-License-Identifier: GPL-3.0-or-later
"""GNOME Shell with the AppIndicator extension switched on while Tolvane runs: the extension's
watcher looks over the bus for items by itself and also takes Tolvane's registration; both must end
in one item, one icon. Headless gnome-shell on private session and system buses, Tolvane on its
Wayland socket. Runs where Debian ships GNOME 48 (Debian 13); skips elsewhere."""
import glob
import os
import subprocess
import time
import unittest

from desktop import Desktop, DesktopProcesses, wait_for

TOLVANE = os.environ["TOLVANE_BIN"]
EXTENSION = "ubuntu-appindicators@ubuntu.com"
EXTENSION_DIR = "/usr/share/gnome-shell/extensions/" + EXTENSION


def shell_version():
    try:
        out = subprocess.run(["gnome-shell", "--version"], capture_output=True, text=True).stdout
    except OSError:
        return 0
    return int(out.split()[-1].split(".")[0]) if out.split() else 0


class GnomeAppIndicatorEndToEnd(DesktopProcesses, unittest.TestCase):
    def setUp(self):
        if shell_version() < 48 or not os.path.isdir(EXTENSION_DIR):
            self.skipTest("GNOME Shell 48 and its AppIndicator extension (Debian 13 and later) are not installed")
        self.desk = Desktop()
        self.addCleanup(self.desk.close, [TOLVANE])
        self.desk.browser("alpha", "Alpha")
        os.chmod(self.desk.home, 0o700)  # Wayland insists on a private runtime folder
        self.desk.env.pop("DISPLAY", None)
        session, _ = self.desk.start_bus("bus")
        system, _ = self.desk.start_bus("system")
        self.desk.env.update({"DBUS_SESSION_BUS_ADDRESS": session, "DBUS_SYSTEM_BUS_ADDRESS": system,
                              "WAYLAND_DISPLAY": "wayland-0", "XDG_CURRENT_DESKTOP": "GNOME",
                              "XDG_SESSION_TYPE": "wayland"})
        shell_env = dict(self.desk.env, XDG_DATA_DIRS="/usr/local/share:/usr/share", XDG_CONFIG_DIRS="/etc/xdg",
                         GSETTINGS_BACKEND="memory")
        self.shell = self.start("gnome-shell", ["gnome-shell", "--headless", "--wayland", "--no-x11",
                                                "--virtual-monitor", "1024x768"], shell_env,
                                lambda: "GNOME Shell started" in self.log("gnome-shell")
                                and os.path.exists(os.path.join(self.desk.home, "wayland-0")), timeout=120)
        # The session's settings daemons, as gnome-session starts them: the bus the extension looks
        # over is as full as in a real session, which is where its look loses the race to Tolvane.
        for daemon in sorted(glob.glob("/usr/libexec/gsd-*")):
            if not daemon.endswith(("-helper", "gsd-printer")):
                self.desk.spawn([daemon], env=shell_env)

    def items(self):
        listed = self.bus("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                          "org.freedesktop.DBus.Properties.Get", "org.kde.StatusNotifierWatcher",
                          "RegisteredStatusNotifierItems")
        return listed.split("'")[1::2]

    def test_extension_switched_on_while_tolvane_runs_shows_one_item(self):
        # The extension's look over the bus races Tolvane's answer to the new watcher; each round is
        # a fresh Tolvane, so that a program that wins the race only now and then still shows.
        for attempt in range(5):
            name = "tolvane-%d" % attempt
            tolvane = self.start(name, [TOLVANE, "--autostart"], dict(self.desk.env, QT_QPA_PLATFORM="wayland"),
                                 lambda: "waiting for one to appear" in self.log(name))
            self.switch_extension("EnableExtension")
            self.assertTrue(wait_for(lambda: "shown by a StatusNotifier host" in self.log(name), 30),
                            self.log(name) + self.log("gnome-shell"))
            # The extension's own look over the bus runs beside the registration; give both time to land.
            time.sleep(2)
            self.assertEqual(len(self.items()), 1, "round %d: %s\n%s" % (attempt, self.items(), self.log("gnome-shell")))
            self.assertIsNone(tolvane.poll(), self.log(name))
            tolvane.terminate()
            tolvane.wait(30)
            self.switch_extension("DisableExtension")
            self.assertTrue(wait_for(lambda: not self.has_owner("org.kde.StatusNotifierWatcher"), 30))

    def switch_extension(self, method):
        switched = self.bus("org.gnome.Shell", "/org/gnome/Shell", "org.gnome.Shell.Extensions." + method, EXTENSION)
        self.assertIn("true", switched, self.log("gnome-shell"))


if __name__ == "__main__":
    unittest.main(verbosity=2)
