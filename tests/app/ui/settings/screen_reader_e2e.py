# SPDX-License-Identifier: GPL-3.0-or-later
"""Every window of the real Tolvane as a screen reader finds it through AT-SPI, on Xvfb: text fields
and combo boxes are what they are, and no control is described as a window. Driven through AT-SPI too."""
import json
import os
import time
import unittest

from desktop import Desktop, wait_for

TOLVANE = os.environ["TOLVANE_BIN"]
WINDOWS = os.path.join(os.environ["TOLVANE_SOURCE_DIR"], "tests", "support", "atspi_windows.py")
# Debian's Python: the accessibility bindings are its packages.
SYSTEM_PYTHON = "/usr/bin/python3"
TEXT_ROLES = ("text", "entry", "password text")


class ScreenReader(unittest.TestCase):
    def setUp(self):
        self.desk = Desktop()
        self.addCleanup(self.desk.close, [TOLVANE])
        for desktop_id, name in [("alpha", "Alpha"), ("bravo", "Bravo")]:
            self.desk.browser(desktop_id, name)
        self.desk.write(".config/mimeapps.list", "[Default Applications]\nx-scheme-handler/https=alpha.desktop;\n")
        self.desk.write(".config/tolvane/links.rules", "intranet.example bravo.desktop\nask.example ask\n")
        self.desk.start_x(tray=False)
        self.desk.env["DBUS_SESSION_BUS_ADDRESS"] = self.desk.start_bus("bus")[0]
        self.out = open(os.path.join(self.desk.home, "services.out"), "w")
        self.addCleanup(self.out.close)
        self.start_accessibility()

    def start_accessibility(self):
        # The desktop's own launcher: it offers the accessibility bus on the session bus, where Qt
        # and the reader both look for it, and the bus starts the registry when it is first asked.
        # It reads its settings schemas from the system's data, as at a login.
        env = dict(self.desk.env, XDG_DATA_DIRS=self.desk.env["XDG_DATA_DIRS"] + ":/usr/share")
        launcher = self.desk.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                   stdout=self.out, stderr=self.out, env=env)
        self.assertTrue(wait_for(lambda: "org.a11y.Bus" in self.desk.run(
            ["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
             "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.ListNames"]).stdout, watch=[launcher]),
            "the accessibility bus did not start")

    def atspi(self, *args):
        done = self.desk.run([SYSTEM_PYTHON, WINDOWS, str(self.proc.pid), *args])
        self.assertEqual(done.returncode, 0, done.stderr)
        return done.stdout.strip()

    def windows(self):
        return {w["name"]: w for w in json.loads(self.atspi("dump")) or []}

    def window(self, title):
        found = wait_for(lambda: self.windows().get(title), watch=[self.proc])
        self.assertTrue(found, "no window %r; there are %s" % (title, list(self.windows())))
        return found

    def press(self, title, name):
        self.assertEqual(wait_for(lambda: self.atspi("press", title, name) == "pressed", 10) and "pressed",
                         "pressed", "nothing called %r in %r" % (name, title))

    def check(self, title, what, fields=()):
        """What a screen reader meets in one window, as it shows now; `fields` are
        (role, name) of controls that must be there as what they are (a combo box is named by its current
        choice)."""
        window = self.window(title)
        problems = ["no %s%s in %s" % (role, " %r" % name if name else "", what) for role, name in fields
                    if not any(n["role"] == role and name in (None, n["name"]) for n in window["nodes"])]
        for node in window["nodes"][1:]:
            described = "%s %r in %s" % (node["role"], node["name"], what)
            # A named window inside a window is a control Qt was told is a window (the frames Qt draws
            # between controls have no name).
            if node["role"] == "frame" and node["name"]:
                problems.append("%s: described as a window" % described)
            if node["role"] in TEXT_ROLES and "Text" not in node["interfaces"]:
                problems.append("%s: no Text interface" % described)
            if node["role"] == "combo box" and "Action" not in node["interfaces"]:
                problems.append("%s: no Action interface" % described)
        return problems

    def test_every_window_as_a_screen_reader_finds_it(self):
        log = open(os.path.join(self.desk.home, "tolvane.out"), "w")
        self.addCleanup(log.close)
        self.proc = self.desk.spawn([TOLVANE], stdout=log, stderr=log,
                                    env=dict(self.desk.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
        problems = self.check("Tolvane", "the window without a tray")

        self.press("Tolvane", "Settings…")
        for tab in ("General", "Shortcuts", "Links"):
            self.press("Settings", tab)
            time.sleep(0.3)
            problems += self.check("Settings", "the %s tab" % tab,
                                   [("text", "Link to try")] if tab == "Links" else [])
        self.press("Settings", "Add a rule")
        problems += self.check("Add Rule", "the rule dialog", [("text", "Pattern"), ("combo box", None)])
        self.press("Add Rule", "Cancel")

        self.press("Tolvane", "Send Feedback")
        problems += self.check("Send Feedback", "the feedback window")
        before = set(self.windows())
        self.press("Tolvane", "About")
        about = wait_for(lambda: [name for name in self.windows() if name not in before], watch=[self.proc])
        self.assertTrue(about, "the About panel did not open")
        problems += self.check(about[0], "the About panel")

        asked = self.desk.run(["dbus-send", "--session", "--print-reply", "--dest=app.tolvane.Tolvane",
                               "/app/tolvane/Tolvane", "app.tolvane.Tolvane.Links1.Ask",
                               "array:string:https://ask.example/", "string:"])
        self.assertEqual(asked.returncode, 0, asked.stderr)
        problems += self.check("Open Link", "the link picker")
        self.assertEqual(problems, [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
