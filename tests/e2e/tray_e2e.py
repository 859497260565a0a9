# SPDX-License-Identifier: GPL-3.0-or-later
"""Tolvane on a real X server with a tray host: the menu switches, the shortcut switches."""
import os
import subprocess
import time
import unittest

from desktop import Desktop, ini_string, wait_for

TOLVANE = os.environ["TOLVANE_BIN"]

MIMEAPPS = """# my own notes, keep me
[Default Applications]
text/plain=org.gnome.TextEditor.desktop;
x-scheme-handler/https=alpha.desktop;
x-scheme-handler/mailto=thunderbird.desktop

[Added Associations]
image/png=viewer.desktop;
odd key with spaces = kept as written
[X-Unknown Group]
key=value
"""


class TrayEndToEnd(unittest.TestCase):
    def setUp(self):
        self.desk = Desktop()
        self.addCleanup(self.desk.close, [TOLVANE])
        for desktop_id, name in [("alpha", "Alpha"), ("bravo", "Bravo"), ("charlie", "Charlie")]:
            self.desk.browser(desktop_id, name)
        self.mimeapps = self.desk.write(".config/mimeapps.list", MIMEAPPS)
        self.desk.start_x()

    def start_tolvane(self):
        log = open(os.path.join(self.desk.home, "tolvane.out"), "w")
        self.addCleanup(log.close)
        self.proc = self.desk.spawn([TOLVANE], stdout=log, stderr=log)
        self.log_path = log.name
        icon = wait_for(lambda: self.desk.windows("tolvane"), watch=[self.proc])
        self.assertTrue(icon, "the tray icon never appeared")
        time.sleep(0.5)
        return icon[0]

    def output_lines(self):
        with open(self.log_path, encoding="utf-8") as f:
            return f.read().splitlines()

    def click_icon(self, icon):
        geometry = dict(line.split("=") for line in
                        self.desk.xdotool("getwindowgeometry", "--shell", icon).stdout.split())
        x = int(geometry["X"]) + int(geometry["WIDTH"]) // 2
        y = int(geometry["Y"]) + int(geometry["HEIGHT"]) // 2
        self.desk.xdotool("mousemove", str(x), str(y), "click", "1")

    def other_lines(self, text):
        keys = ("x-scheme-handler/http=", "x-scheme-handler/https=", "text/html=")
        return [line for line in text.splitlines() if not line.startswith(keys)]

    def open_menu(self, icon):
        before = len(self.desk.windows("tolvane", visible=True))
        self.click_icon(icon)
        self.assertTrue(wait_for(lambda: len(self.desk.windows("tolvane", visible=True)) > before),
                        "the menu did not open")
        time.sleep(0.2)

    def test_menu_row_switches_and_keeps_every_other_line(self):
        icon = self.start_tolvane()
        self.open_menu(icon)
        # Quit, Settings, Send Feedback, About, then the rows (heading and separators are skipped).
        for _ in range(6):
            self.desk.xdotool("key", "Down")
        self.desk.xdotool("key", "Return")
        self.assertTrue(wait_for(lambda: self.desk.default_for("x-scheme-handler/https") == "bravo.desktop"),
                        self.desk.default_for("x-scheme-handler/https"))
        self.assertEqual(self.desk.default_for("x-scheme-handler/http"), "bravo.desktop")
        with open(self.mimeapps, encoding="utf-8") as f:
            after = f.read()
        self.assertEqual(self.other_lines(after), self.other_lines(MIMEAPPS))
        self.assertIsNone(self.proc.poll(), "Tolvane keeps running after the switch")

    def shortcut_setup(self, version=""):
        bravo = os.path.join(self.desk.apps, "bravo.desktop")
        self.desk.write(".config/tolvane/group.tolva.conf",
                        "[General]\nsettings.settingsToggleBrowser=true\nsettings.settingsToggleBrowserId=%s\n"
                        % ini_string("bravo:%s:file://%s" % (version, bravo)))
        # Control+Option+B.
        self.desk.write(".config/tolvane/tolvane.conf",
                        "[General]\nGlobalKeys_toggleSystemBrowserKeys=%s\n"
                        % ini_string('{"carbonKeyCode":11,"carbonModifiers":6144}'))

    def test_shortcut_release_switches_once(self):
        self.shortcut_setup()
        self.start_tolvane()
        self.desk.xdotool("key", "ctrl+alt+b")
        self.assertTrue(wait_for(lambda: self.desk.default_for("x-scheme-handler/https") == "bravo.desktop"))
        time.sleep(0.3)
        lines = [l for l in self.output_lines() if l.startswith("Setting default browser to ")]
        self.assertEqual(len(lines), 1, self.output_lines())

    def test_toggle_browser_updated_since_it_was_chosen_still_switches(self):
        self.shortcut_setup(version="1.0")
        bravo = os.path.join(self.desk.apps, "bravo.desktop")
        with open(bravo, "a", encoding="utf-8") as f:
            f.write("X-AppImage-Version=2.0\n")
        self.start_tolvane()
        self.desk.xdotool("key", "ctrl+alt+b")
        self.assertTrue(wait_for(lambda: self.desk.default_for("x-scheme-handler/https") == "bravo.desktop"),
                        self.output_lines())
        self.assertIn("Setting default browser to bravo:2.0:file://" + bravo, self.output_lines())

    def test_held_shortcut_switches_once_on_release(self):
        self.shortcut_setup()
        self.start_tolvane()
        self.desk.xdotool("keydown", "ctrl+alt+b")
        time.sleep(1.5)
        self.assertEqual([l for l in self.output_lines() if l.startswith("Setting")], [],
                         "nothing happens until the key is released")
        self.desk.xdotool("keyup", "ctrl+alt+b")
        self.assertTrue(wait_for(lambda: self.desk.default_for("x-scheme-handler/https") == "bravo.desktop"))
        time.sleep(0.3)
        self.assertEqual(len([l for l in self.output_lines() if l.startswith("Setting default browser to ")]), 1)

    def test_second_start_gives_no_second_icon(self):
        self.start_tolvane()
        visible = set(self.desk.windows("tolvane", visible=True))
        second = subprocess.run([TOLVANE], env=self.desk.env, capture_output=True, text=True, timeout=30)
        self.assertEqual(second.returncode, 0)
        self.assertIn("already running", second.stderr + second.stdout)
        self.assertIsNone(self.proc.poll())
        self.assertEqual(self.desk.stray_processes(TOLVANE), [self.proc.pid])
        # The running instance answers by opening its menu; once that is closed, nothing new is shown.
        self.assertTrue(wait_for(lambda: len(self.desk.windows("tolvane", visible=True)) > len(visible)))
        self.desk.xdotool("key", "Escape")
        self.assertTrue(wait_for(lambda: set(self.desk.windows("tolvane", visible=True)) == visible),
                        "no second icon")


class TrayWaitsForHost(unittest.TestCase):
    def test_started_at_login_waits_quietly_for_a_tray_that_appears_later(self):
        desk = Desktop()
        self.addCleanup(desk.close, [TOLVANE])
        desk.start_x(tray=False)
        log = open(os.path.join(desk.home, "tolvane.out"), "w")
        self.addCleanup(log.close)
        proc = desk.spawn([TOLVANE, "--autostart"], stdout=log, stderr=log)

        def logged(text):
            with open(log.name) as f:
                return text in f.read()
        self.assertTrue(wait_for(lambda: logged("waiting")), "Tolvane says it waits for a tray")
        self.assertTrue(wait_for(lambda: logged("waiting quietly")), "the moment a window would open")
        self.assertEqual(desk.xdotool("search", "--onlyvisible", "--name", "^Tolvane$").stdout, "",
                         "no window when started at login")
        self.assertIsNone(proc.poll(), "Tolvane must not quit without a tray")
        desk.start_tray()
        self.assertTrue(wait_for(lambda: desk.windows("tolvane")))


if __name__ == "__main__":
    unittest.main(verbosity=2)
