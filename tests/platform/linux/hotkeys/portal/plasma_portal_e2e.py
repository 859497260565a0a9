# SPDX-License-Identifier: GPL-3.0-or-later
"""The real Tolvane with Plasma's real shortcut service: KWin's virtual session (its global shortcuts
inside), Debian's xdg-desktop-portal frontend and xdg-desktop-portal-kde on a private bus, Tolvane on
KWin's Wayland socket with Ctrl+Alt+B stored. A real Ctrl+Alt+B, pressed and released through KWin's
fake-input protocol, makes the preselected browser the default; the group keeps its name and the
user's key across a restart, which opens no System Settings; "Change browser" off gives the key back.
Runs against Plasma 5.27 (Debian 12) and Plasma 6 (Debian 13)."""
import os
import shutil
import subprocess
import unittest

from desktop import Desktop, DesktopProcesses, ini_string, wait_for

TOLVANE = os.environ["TOLVANE_BIN"]
FAKE_KEY_PRESS = os.environ["TOLVANE_FAKE_KEY_PRESS"]
KWIN = "/usr/bin/kwin_wayland"
PORTAL = "/usr/libexec/xdg-desktop-portal"

def activated_program(service):
    """The program the session bus would start for `service` (its path differs between architectures)."""
    with open("/usr/share/dbus-1/services/%s.service" % service, encoding="utf-8") as f:
        return next(l.split("=", 1)[1].strip() for l in f if l.startswith("Exec="))


PORTAL_KDE = activated_program("org.freedesktop.impl.portal.desktop.kde")
SOCKET = "tolvane-kwin"
KEY_LEFTCTRL, KEY_LEFTALT, KEY_B, KEY_N = 29, 56, 48, 49
CTRL_ALT_B, CTRL_ALT_N = 0x0C000042, 0x0C00004E  # Qt's key codes, as kglobalaccel stores them
APP_ID = "app.tolvane.Tolvane"


def package_version(name):
    return subprocess.run(["dpkg-query", "-W", "-f", "${Version}", name], capture_output=True, text=True).stdout


class PlasmaPortalEndToEnd(DesktopProcesses, unittest.TestCase):
    def setUp(self):
        version = package_version("xdg-desktop-portal-kde")
        if not version.startswith("5.27") and not version.split(":")[-1].startswith("6."):
            self.skipTest("xdg-desktop-portal-kde %s is neither Plasma 5.27's nor 6's" % (version or "(not installed)"))
        # Plasma 5.27 binds at CreateSession; 6 through one BindShortcuts, the first time only.
        self.plasma6 = not version.startswith("5.27")
        self.desk = Desktop()
        self.addCleanup(self.desk.close, [TOLVANE])
        self.desk.browser("alpha", "Alpha")
        self.bravo = self.desk.browser("bravo", "Bravo")
        self.desk.write(".config/mimeapps.list", "[Default Applications]\nx-scheme-handler/https=alpha.desktop;\n")
        self.write_settings(toggle=True)
        # Control+Option+B.
        self.desk.write(".config/tolvane/tolvane.conf",
                        "[General]\nGlobalKeys_toggleSystemBrowserKeys=%s\n"
                        % ini_string('{"carbonKeyCode":11,"carbonModifiers":6144}'))
        os.chmod(self.desk.home, 0o700)  # Wayland insists on a private runtime folder
        self.desk.env.pop("DISPLAY", None)
        address, _ = self.desk.start_bus("bus")
        self.desk.env.update({"DBUS_SESSION_BUS_ADDRESS": address, "WAYLAND_DISPLAY": SOCKET,
                              "XKB_DEFAULT_LAYOUT": "us", "XDG_CURRENT_DESKTOP": "KDE"})
        # The desktop's programs see the system's data; Tolvane sees only the test's browsers.
        kwin_data = os.path.join(self.desk.home, "kwin-data")
        kwin_config = os.path.join(self.desk.home, "kwin-config")
        self.desk.write_kde_menu(kwin_config)
        self.system_env = dict(self.desk.env, XDG_DATA_DIRS=kwin_data + ":/usr/local/share:/usr/share",
                               XDG_CONFIG_DIRS=kwin_config + ":/etc/xdg")
        # KWin lets a program use fake input only when a desktop entry names it and asks for it.
        self.desk.write(os.path.join(kwin_data, "applications", "tolvane-fake-key-press.desktop"),
                        "[Desktop Entry]\nType=Application\nName=Key press for Tolvane's tests\nExec=%s\n"
                        "X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input\n" % FAKE_KEY_PRESS)
        # The portal (1.19 and later) learns Tolvane's app id only for an installed application.
        self.desk.write(os.path.join(kwin_data, "applications", APP_ID + ".desktop"),
                        "[Desktop Entry]\nType=Application\nName=Tolvane\nExec=%s\n" % TOLVANE)
        self.component = None

    def write_settings(self, toggle):
        self.desk.write(".config/tolvane/group.tolva.conf",
                        "[General]\nsettings.settingsToggleBrowser=%s\nsettings.settingsToggleBrowserId=%s\n"
                        % ("true" if toggle else "false", ini_string("bravo::file://" + self.bravo)))

    def kglobalaccel(self, path, method, *args):
        return self.bus("org.kde.kglobalaccel", path, method, *args)

    def press(self, *keys):
        press = self.desk.run([FAKE_KEY_PRESS] + [str(k) for k in keys])
        self.assertEqual(press.returncode, 0, press.stderr)

    def switch_lines(self, log):
        return [l for l in self.log(log).splitlines() if l.startswith("Setting default browser to bravo")]

    def tolvane_components(self):
        listed = self.kglobalaccel("/kglobalaccel", "org.kde.KGlobalAccel.allComponents")
        return [c for c in listed.split("'") if c.startswith("/component/") and "olvane" in c]

    def kglobalaccel_shortcuts(self):
        """Tolvane's group in Plasma's shortcuts: "Tolvane" on 5.27, named after the app id on 6."""
        found = self.tolvane_components()
        if not found:
            return ""
        self.component = found[0]
        return self.kglobalaccel(self.component, "org.kde.kglobalaccel.Component.allShortcutInfos")

    def binds(self):
        return self.log("monitor").count("member=BindShortcuts")

    def test_a_real_key_press_switches_through_plasmas_portal(self):
        # The installed binary carries a file capability that containers refuse at exec; a copy has none.
        # (It keeps its name: KWin's own platform plugin loads only into a program called kwin_wayland.)
        kwin = os.path.join(self.desk.home, "kwin", "kwin_wayland")
        os.makedirs(os.path.dirname(kwin))
        shutil.copy(KWIN, kwin)
        self.start("kwin", [kwin, "--virtual", "--no-lockscreen", "--socket", SOCKET, "--width", "800",
                            "--height", "600"], dict(self.system_env, QT_QPA_PLATFORM=""),
                   lambda: self.has_owner("org.kde.kglobalaccel")
                   and os.path.exists(os.path.join(self.desk.home, SOCKET)))
        self.start("portal-kde", [PORTAL_KDE], dict(self.system_env, QT_QPA_PLATFORM="wayland"),
                   lambda: self.has_owner("org.freedesktop.impl.portal.desktop.kde"))
        self.start("portal", [PORTAL, "--verbose"], self.system_env,
                   lambda: self.has_owner("org.freedesktop.portal.Desktop"))
        # Tolvane's BindShortcuts calls (KDE's opens System Settings: a start must not need one), and
        # the portal's answers, for a reader of a failure.
        monitor = open(os.path.join(self.desk.home, "monitor.log"), "w")
        self.addCleanup(monitor.close)
        self.desk.spawn(["dbus-monitor", "--session",
                         "type='method_call',interface='org.freedesktop.portal.GlobalShortcuts',member='BindShortcuts'",
                         "type='signal',member='Response'"], stdout=monitor)
        self.assertTrue(wait_for(lambda: "NameLost" in self.log("monitor")), "dbus-monitor did not start")

        tolvane = self.start("tolvane", [TOLVANE], dict(self.desk.env, QT_QPA_PLATFORM="wayland"),
                   lambda: "toggleSystemBrowserKeys" in self.kglobalaccel_shortcuts())
        registered = self.kglobalaccel_shortcuts()
        self.assertIn("[%d]" % CTRL_ALT_B, registered, "Ctrl+Alt+B in Plasma's shortcuts: " + registered)
        self.assertIn("'Switch the default browser'", registered)
        # The group the user sees: the session's token on 5.27, the app id Tolvane registered on 6.
        self.assertEqual(self.component, "/component/app_tolvane_Tolvane" if self.plasma6 else "/component/Tolvane")

        self.press(KEY_LEFTCTRL, KEY_LEFTALT, KEY_B)
        switched = wait_for(lambda: self.desk.default_for("x-scheme-handler/https") == "bravo.desktop", 20)
        self.assertTrue(switched, self.log("tolvane") + self.log("portal-kde") + self.log("monitor"))
        self.assertEqual(self.switch_lines("tolvane"),
                         ["Setting default browser to bravo::file://" + self.desk.apps + "/bravo.desktop"])
        portal_lines = [l for l in self.log("tolvane").splitlines() if l.startswith("GlobalKeys")]
        self.assertEqual(len(portal_lines), 1, "the portal chosen, nothing refused: %s" % portal_lines)
        # Each BindShortcuts opens System Settings: 5.27 needs none, 6 one to take the new group in.
        self.assertEqual(self.binds(), 1 if self.plasma6 else 0, "BindShortcuts calls")

        # The user picks Ctrl+Alt+N in System Settings; after a restart Tolvane's group is the same one
        # and keeps that key.
        group = self.desk.run(["gdbus", "call", "--session", "--dest", "org.kde.kglobalaccel", "--object-path",
                               self.component, "--method", "org.freedesktop.DBus.Properties.Get",
                               "org.kde.kglobalaccel.Component", "uniqueName"]).stdout.split("'")[1]
        action = "['%s', 'toggleSystemBrowserKeys', '%s', 'Switch the default browser']" % (group, group)
        self.kglobalaccel("/kglobalaccel", "org.kde.KGlobalAccel.setForeignShortcut", action, "[%d]" % CTRL_ALT_N)
        tolvane.terminate()
        tolvane.wait(10)
        self.desk.write(".config/mimeapps.list", "[Default Applications]\nx-scheme-handler/https=alpha.desktop;\n")
        responses = self.log("monitor").count("member=Response")
        self.start("tolvane-again", [TOLVANE], dict(self.desk.env, QT_QPA_PLATFORM="wayland"),
                   # 5.27 answers CreateSession; 6 also the call that follows it.
                   lambda: self.log("monitor").count("member=Response") >= responses + (2 if self.plasma6 else 1))
        self.assertEqual(len(self.tolvane_components()), 1, "one group across restarts")
        self.assertEqual(self.binds(), 1 if self.plasma6 else 0, "a restart opens no System Settings")
        # The active key (the default after it is the one Tolvane proposed).
        self.assertIn("'Default Context', [%d]," % CTRL_ALT_N, self.kglobalaccel_shortcuts(), "the user's key stays")
        self.press(KEY_LEFTCTRL, KEY_LEFTALT, KEY_N)
        switched = wait_for(lambda: self.desk.default_for("x-scheme-handler/https") == "bravo.desktop", 20)
        self.assertTrue(switched, self.log("tolvane-again") + self.log("monitor"))
        self.assertEqual(len(self.switch_lines("tolvane-again")), 1)

        # "Change browser" switched off, as the settings window writes it: Plasma lets go of the key.
        self.write_settings(toggle=False)
        self.assertTrue(wait_for(lambda: "false" in self.kglobalaccel(
            self.component, "org.kde.kglobalaccel.Component.isActive"), 20), "the shortcut stayed active")


if __name__ == "__main__":
    unittest.main()
