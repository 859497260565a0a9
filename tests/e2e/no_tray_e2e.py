# SPDX-License-Identifier: GPL-3.0-or-later
"""Tolvane started by the user on a desktop with no tray host: its menu shows in a window."""
import os
import subprocess
import unittest

from desktop import Desktop, wait_for

TOLVANE = os.environ["TOLVANE_BIN"]


class NoTrayWindow(unittest.TestCase):
    def setUp(self):
        self.desk = Desktop()
        self.addCleanup(self.desk.close, [TOLVANE])
        for desktop_id, name in [("alpha", "Alpha"), ("bravo", "Bravo"), ("charlie", "Charlie")]:
            self.desk.browser(desktop_id, name)
        self.desk.write(".config/mimeapps.list", "[Default Applications]\nx-scheme-handler/https=alpha.desktop;\n")
        self.desk.start_x(tray=False)

    def window(self):
        found = self.desk.xdotool("search", "--onlyvisible", "--name", "^Tolvane$").stdout.split()
        return found[0] if found else None

    def test_window_with_the_menu_raised_again_and_gone_with_a_tray(self):
        log = open(os.path.join(self.desk.home, "tolvane.out"), "w")
        self.addCleanup(log.close)
        proc = self.desk.spawn([TOLVANE], stdout=log, stderr=log)
        window = wait_for(self.window, watch=[proc])
        self.assertTrue(window, "the window opens when no tray host shows up")
        if os.environ.get("TOLVANE_SCREENSHOT"):
            self.desk.run(["import", "-window", "root", os.environ["TOLVANE_SCREENSHOT"]])

        # Focus starts on the first browser row; the next row makes Bravo the default.
        self.desk.xdotool("windowfocus", "--sync", window)
        self.desk.xdotool("key", "--window", window, "Tab", "space")
        self.assertTrue(wait_for(lambda: self.desk.default_for("x-scheme-handler/https") == "bravo.desktop"),
                        self.desk.default_for("x-scheme-handler/https"))
        # The rows were read again (by name, as before: Alpha, Bravo, Charlie) and still act.
        self.desk.xdotool("key", "--window", window, "Tab", "Tab", "space")
        self.assertTrue(wait_for(lambda: self.desk.default_for("x-scheme-handler/https") == "charlie.desktop"),
                        self.desk.default_for("x-scheme-handler/https"))

        self.desk.xdotool("key", "--window", window, "ctrl+w")
        self.assertTrue(wait_for(lambda: self.window() is None), "Ctrl+W closes the window")
        self.assertIsNone(proc.poll(), "closing the window does not end Tolvane")

        # Starting Tolvane again brings the window forward, focused.
        second = subprocess.run([TOLVANE], env=self.desk.env, capture_output=True, text=True, timeout=30)
        self.assertEqual(second.returncode, 0)
        window = wait_for(self.window)
        self.assertTrue(window, "a second start shows the window again")
        self.assertTrue(wait_for(lambda: self.desk.xdotool("getwindowfocus").stdout.strip() == window))

        # A tray host that appears later takes over.
        self.desk.start_tray()
        self.assertTrue(wait_for(lambda: self.window() is None), "the window goes once the icon is there")
        self.assertTrue(wait_for(lambda: self.desk.windows("tolvane")), "the tray icon")
        self.assertIsNone(proc.poll())


if __name__ == "__main__":
    unittest.main(verbosity=2)
