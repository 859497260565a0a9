# SPDX-License-Identifier: GPL-3.0-or-later
"""The settings window on a real X server: record the toggle shortcut, pick its browser, use it."""
import os
import re
import time
import unittest

from desktop import Desktop, ini_string, wait_for

TOLVANE = os.environ["TOLVANE_BIN"]
SHOTS = os.environ.get("TOLVANE_SCREENSHOTS")  # keep screenshots here when set


class SettingsEndToEnd(unittest.TestCase):
    def setUp(self):
        self.desk = Desktop()
        self.addCleanup(self.desk.close, [TOLVANE])
        for desktop_id, name in [("alpha", "Alpha"), ("bravo", "Bravo"), ("charlie", "Charlie")]:
            self.desk.browser(desktop_id, name)
        self.desk.write(".config/mimeapps.list", "[Default Applications]\nx-scheme-handler/https=alpha.desktop;\n")
        self.desk.start_x()
        log = open(os.path.join(self.desk.home, "tolvane.out"), "w")
        self.addCleanup(log.close)
        self.log_path = log.name
        self.proc = self.desk.spawn([TOLVANE], stdout=log, stderr=log)
        icon = wait_for(lambda: self.desk.xdotool("search", "--classname", "tolvane").stdout.split(), watch=[self.proc])
        self.assertTrue(icon, "the tray icon never appeared")
        self.icon = icon[0]
        time.sleep(0.5)

    def settings(self):
        path = os.path.join(self.desk.config, "tolvane", "group.tolva.conf")
        if not os.path.exists(path):
            return {}
        with open(path, encoding="utf-8") as f:
            return dict(line.strip().split("=", 1) for line in f if "=" in line)

    def stored_shortcut(self):
        path = os.path.join(self.desk.config, "tolvane", "tolvane.conf")
        if not os.path.exists(path):
            return ""
        with open(path, encoding="utf-8") as f:
            return f.read()

    def key(self, *keys):
        for k in keys:
            self.desk.xdotool("key", "--clearmodifiers", k)
            time.sleep(0.25)

    def screenshot(self, name):
        folder = SHOTS or self.desk.home
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, name)
        result = self.desk.run(["import", "-window", "root", path])
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertGreater(os.path.getsize(path), 1000)
        return path

    def open_settings_from_tray(self):
        geometry = dict(line.split("=") for line in
                        self.desk.xdotool("getwindowgeometry", "--shell", self.icon).stdout.split())
        x = int(geometry["X"]) + int(geometry["WIDTH"]) // 2
        y = int(geometry["Y"]) + int(geometry["HEIGHT"]) // 2
        self.desk.xdotool("mousemove", str(x), str(y), "click", "1")
        time.sleep(0.7)
        self.key("Down", "Down", "Return")  # Quit, Settings…
        window = wait_for(lambda: self.desk.xdotool("search", "--onlyvisible", "--name", "^Settings").stdout.split())
        self.assertTrue(window, "the settings window did not open")
        # The title a window manager shows: the window's own, then the application's name once.
        self.assertEqual(self.desk.xdotool("getwindowname", window[0]).stdout.strip(), "Settings — Tolvane")
        self.desk.xdotool("windowfocus", "--sync", window[0])
        time.sleep(0.5)
        return window[0]

    def test_taskbars_can_tell_the_window_apart(self):
        # A taskbar finds the desktop entry by WM_CLASS' class and draws the window's own icon.
        window = self.open_settings_from_tray()
        props = self.desk.run(["xprop", "-id", window, "WM_CLASS", "_NET_WM_ICON"])
        self.assertEqual(props.returncode, 0, props.stderr)
        wm_class = re.search(r'WM_CLASS\(STRING\) = "([^"]*)", "([^"]*)"', props.stdout)
        self.assertIsNotNone(wm_class, props.stdout[:200])
        self.assertEqual(wm_class.group(2), "app.tolvane.Tolvane")
        self.assertTrue("_NET_WM_ICON(CARDINAL) =" in props.stdout, "the window has no icon of its own")

    def test_an_updated_toggle_browser_is_stored_under_its_new_id(self):
        bravo = os.path.join(self.desk.apps, "bravo.desktop")
        with open(bravo, "a", encoding="utf-8") as f:
            f.write("X-AppImage-Version=2.0\n")
        self.desk.write(".config/tolvane/group.tolva.conf", "[General]\nsettings.settingsToggleBrowserId=%s\n"
                        % ini_string("bravo:1.0:file://" + bravo))
        self.open_settings_from_tray()
        self.assertTrue(wait_for(lambda: self.settings().get("settings.settingsToggleBrowserId", "").strip('"') ==
                                 "bravo:2.0:file://" + bravo), self.settings())

    def test_record_shortcut_pick_browser_and_use_it(self):
        window = self.open_settings_from_tray()
        # Showing the window repaired the toggle browser: the first one is stored.
        self.assertTrue(wait_for(lambda: "alpha.desktop" in self.settings().get(
            "settings.settingsToggleBrowserId", "")), self.settings())
        self.screenshot("settings-general.png")

        # "Launch at login" is the first control after the tab bar: on writes the autostart entry,
        # off removes it.
        entry = os.path.join(self.desk.config, "autostart", "app.tolvane.Tolvane.desktop")
        self.key("Tab", "space")
        self.assertTrue(wait_for(lambda: os.path.exists(entry)), "no autostart entry")
        with open(entry, encoding="utf-8") as f:
            self.assertIn("Exec=", f.read())
        self.key("space")
        self.assertTrue(wait_for(lambda: not os.path.exists(entry)), "the autostart entry stayed")

        # Back to the tab bar, on to "Shortcuts", then to "Change browser" and switch it on.
        self.key("shift+Tab", "Right", "Tab", "space")
        self.assertTrue(wait_for(lambda: self.settings().get("settings.settingsToggleBrowser") == "true"),
                        self.settings())

        # Onto the recorder (Tab alone does not record), Space records, then the shortcut.
        self.key("Tab")
        self.desk.xdotool("key", "ctrl+alt+b")
        time.sleep(0.3)
        self.assertNotIn("carbonKeyCode", self.stored_shortcut(), "Tab onto the field started recording")
        self.key("space")
        self.screenshot("settings-recording.png")  # the hint stands in the field
        self.desk.xdotool("key", "ctrl+alt+b")
        self.assertTrue(wait_for(lambda: '{\\"carbonKeyCode\\":11,\\"carbonModifiers\\":6144}'
                                 in self.stored_shortcut()), self.stored_shortcut())

        # The focus stayed on the recorder; Tab goes on to the picker. Charlie is two rows down.
        self.key("Tab", "Down", "Down")
        self.assertTrue(wait_for(lambda: "charlie.desktop" in self.settings().get(
            "settings.settingsToggleBrowserId", "")), self.settings())
        self.screenshot("settings-shortcuts.png")

        self.key("ctrl+w")
        self.assertTrue(wait_for(lambda: not self.desk.xdotool("search", "--onlyvisible", "--name",
                                                               "^Settings").stdout.split()))
        self.assertEqual(self.desk.default_for("x-scheme-handler/https"), "alpha.desktop")

        self.desk.xdotool("key", "ctrl+alt+b")
        self.assertTrue(wait_for(lambda: self.desk.default_for("x-scheme-handler/https") == "charlie.desktop"),
                        self.desk.default_for("x-scheme-handler/https"))
        self.assertIsNone(self.proc.poll(), "Tolvane keeps running after its window closed")


if __name__ == "__main__":
    unittest.main(verbosity=2)
