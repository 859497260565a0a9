# SPDX-License-Identifier: GPL-3.0-or-later
"""Tolvane on a real StatusNotifier panel (xfce4-panel on Xvfb) that starts after Tolvane and restarts."""
import glob
import json
import os
import subprocess
import unittest

from desktop import Desktop, bus_config, wait_for

TOLVANE = os.environ["TOLVANE_BIN"]
ATSPI_MENU = os.path.join(os.environ["TOLVANE_SOURCE_DIR"], "tests", "support", "atspi_menu.py")
XFCONFD = (glob.glob("/usr/lib/*/xfce4/xfconf/xfconfd") + ["xfconfd"])[0]
# Debian's Python: the accessibility bindings are its packages.
SYSTEM_PYTHON = "/usr/bin/python3"

# One panel along the top, 30 pixels high, holding only the notification area: the first icon's
# middle is (PANEL_SIZE / 2 - 4, PANEL_SIZE / 2).
PANEL_SIZE = 30
PANEL = """<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="%d"/>
      <property name="plugin-ids" type="array"><value type="int" value="1"/></property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray"/>
  </property>
</channel>
""" % PANEL_SIZE

FISH = "Fish & Chips_Browser (3_1)"


class ServiceFailed(AssertionError):
    pass


class PanelTray(unittest.TestCase):
    def setUp(self):
        self.desk = Desktop()
        self.addCleanup(self.desk.close, [TOLVANE])
        for desktop_id, name in [("alpha", "Alpha"), ("bravo", FISH), ("charlie", "Charlie")]:
            self.desk.browser(desktop_id, name)
        self.desk.write(".config/mimeapps.list", "[Default Applications]\nx-scheme-handler/https=alpha.desktop;\n")
        self.desk.write(".config/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml", PANEL)
        self.desk.start_x(tray=False)
        self.desk.env["DBUS_SESSION_BUS_ADDRESS"], _ = self.desk.start_bus("bus")
        self.out = open(os.path.join(self.desk.home, "services.out"), "w")
        self.addCleanup(self.out.close)

    def start(self, args, ready, what, env=None):
        """Starts a service and waits for `ready`; a loaded machine may take long, an exit fails at once."""
        proc = self.desk.spawn(args, stdout=self.out, stderr=self.out, env=env or self.desk.env)

        def up():
            if proc.poll() is not None:
                raise ServiceFailed("%s exited with %s" % (what, proc.returncode))
            return ready()
        self.assertTrue(wait_for(up, 60), "%s did not start" % what)
        return proc

    def bus_names(self, address=None):
        bus = ["--address", address] if address else ["--session"]
        return self.desk.run(["gdbus", "call", *bus, "--dest", "org.freedesktop.DBus", "--object-path",
                              "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.ListNames"]).stdout

    def start_accessibility(self):
        # GTK's menus are read through the accessibility bus and its registry.
        folder = os.path.join(self.desk.home, "a11y")
        os.makedirs(folder)
        with open(os.path.join(folder, "bus.conf"), "w") as f:
            f.write(bus_config(folder))
        bus = self.desk.spawn(["dbus-daemon", "--config-file=" + os.path.join(folder, "bus.conf"), "--nofork",
                               "--print-address=1"], stdout=subprocess.PIPE, stderr=self.out, text=True)
        self.desk.env["AT_SPI_BUS_ADDRESS"] = bus.stdout.readline().strip()
        self.assertTrue(self.desk.env["AT_SPI_BUS_ADDRESS"], "the accessibility bus did not start")
        self.start(["/usr/libexec/at-spi2-registryd"],
                   lambda: "org.a11y.atspi.Registry" in self.bus_names(self.desk.env["AT_SPI_BUS_ADDRESS"]),
                   "the accessibility registry")

    def start_panel(self):
        # The panel reads the system's data (MIME types for menu icons, its own icons) as at a login.
        env = dict(self.desk.env, XDG_DATA_DIRS=self.desk.env["XDG_DATA_DIRS"] + ":/usr/share")
        return self.start(["xfce4-panel", "--disable-wm-check"],
                          lambda: "org.kde.StatusNotifierWatcher" in self.bus_names(), "xfce4-panel", env)

    def watcher_items(self):
        return self.desk.run(["gdbus", "call", "--session", "--dest", "org.kde.StatusNotifierWatcher",
                              "--object-path", "/StatusNotifierWatcher", "--method",
                              "org.freedesktop.DBus.Properties.Get", "org.kde.StatusNotifierWatcher",
                              "RegisteredStatusNotifierItems"]).stdout

    def item_property(self, service, name):
        return self.desk.run(["gdbus", "call", "--session", "--dest", service, "--object-path",
                              "/StatusNotifierItem", "--method", "org.freedesktop.DBus.Properties.Get",
                              "org.kde.StatusNotifierItem", name]).stdout.strip()

    def no_tray_window(self):
        return self.desk.xdotool("search", "--onlyvisible", "--name", "^Tolvane$").stdout.split()

    def test_panel_started_late_shows_the_item_whose_menu_switches_the_browser(self):
        self.start_accessibility()
        log = open(os.path.join(self.desk.home, "tolvane.out"), "w")
        self.addCleanup(log.close)
        proc = self.desk.spawn([TOLVANE], stdout=log, stderr=log)
        self.assertTrue(wait_for(self.no_tray_window, 30), "without a panel the menu shows in a window")

        # The panel comes after Tolvane, as at many logins.
        self.start([XFCONFD], lambda: "org.xfce.Xfconf" in self.bus_names(), "xfconfd")
        panel = self.start_panel()
        service = "org.kde.StatusNotifierItem-%d-1" % proc.pid
        self.assertTrue(wait_for(lambda: service in self.watcher_items(), 30), "the item registers with the panel")
        self.assertTrue(wait_for(lambda: not self.no_tray_window(), 10), "the window gives way to the tray")
        self.assertEqual(self.item_property(service, "Title"), "(<'Tolvane'>,)")
        self.assertEqual(self.item_property(service, "ItemIsMenu"), "(<true>,)")
        # The tooltip panels show over the icon names the default browser.
        self.assertIn("'Tolvane', 'Default browser: Alpha')", self.item_property(service, "ToolTip"))
        # Hosts hand over the click's activation token before they open the menu; Tolvane takes it.
        token = self.desk.run(["gdbus", "call", "--session", "--dest", service, "--object-path", "/StatusNotifierItem",
                               "--method", "org.kde.StatusNotifierItem.ProvideXdgActivationToken", "click-token"])
        self.assertEqual((token.returncode, token.stdout.strip()), (0, "()"), token.stderr)

        # A left click on the icon: the panel opens the menu; its entries as the panel shows them.
        reader = self.desk.spawn([SYSTEM_PYTHON, ATSPI_MENU, FISH.replace("_", "")], stdout=subprocess.PIPE,
                                 stderr=self.out, text=True)
        self.assertEqual(reader.stdout.readline().strip(), "ready")

        def visible():
            return set(self.desk.xdotool("search", "--onlyvisible", "--name", ".*").stdout.split())

        def menu_read():
            # The icon may not be drawn yet when the item has just registered: click until a menu opens.
            before = visible()
            self.desk.xdotool("mousemove", str(PANEL_SIZE // 2 - 4), str(PANEL_SIZE // 2), "click", "1")
            if not wait_for(lambda: visible() - before, 10):
                return False
            self.desk.xdotool("key", "Down")
            return wait_for(lambda: reader.poll() is not None, 10)
        self.assertTrue(wait_for(menu_read, 60, interval=0.5), "a left click opens the panel's menu")
        entries, chosen = reader.communicate(timeout=30)[0].splitlines()[:2]
        # Rows come by name. GTK panels name entries for accessibility without underscores; they draw
        # them (screenshot checked).
        self.assertEqual([[name, sensitive] for role, name, sensitive in json.loads(entries) if role != "separator"],
                         [["Quit", True], ["Settings…", True], ["Send Feedback", True], ["About", True],
                          ["Change default browser to", False], ["Alpha", True], ["Charlie", True],
                          [FISH.replace("_", ""), True], ["Refresh list", True]])
        self.assertEqual(chosen, "chosen")
        self.assertTrue(wait_for(lambda: self.desk.default_for("x-scheme-handler/https") == "bravo.desktop", 20),
                        self.desk.default_for("x-scheme-handler/https"))
        self.assertTrue(wait_for(lambda: "Default browser: %s'" % FISH in self.item_property(service, "ToolTip"), 10),
                        self.item_property(service, "ToolTip"))

        # The panel restarts: the item is registered with the new one.
        panel.terminate()
        panel.wait(10)
        self.assertTrue(wait_for(lambda: "org.kde.StatusNotifierWatcher" not in self.bus_names(), 10))
        self.start_panel()
        self.assertTrue(wait_for(lambda: service in self.watcher_items(), 30), "the item registers again")
        self.assertFalse(self.no_tray_window())
        self.assertIsNone(proc.poll())


if __name__ == "__main__":
    unittest.main(verbosity=2)
