# SPDX-License-Identifier: GPL-3.0-or-later
"""The link picker of the real Tolvane, asked over a private session bus as the router asks it, on
Xvfb, with recording browsers: the key pressed decides which browser gets the link, byte for byte."""
import os
import unittest

from desktop import Desktop, wait_for

TOLVANE = os.environ["TOLVANE_BIN"]
# Spaces, quotes, a shell variable, a non-ASCII letter and an escape: each must reach the browser as
# it was sent, one argument.
LINK = 'https://example.org/a b/\u00fc?q="x"&home=$HOME;%41#top'
BROWSERS = [("alpha", "Alpha"), ("bravo", "Bravo"), ("charlie", "Charlie")]  # listed in this order


class LinkPicker(unittest.TestCase):
    def make_desktop(self):
        desk = Desktop()
        self.addCleanup(desk.close, [TOLVANE])
        for desktop_id, name in BROWSERS:
            program = desk.write("bin/" + desktop_id,
                                 '#!/bin/sh\nprintf "%%s\\n" "$@" >> "$HOME/%s.opened"\n'
                                 'printf "%%s\\n" "$XDG_ACTIVATION_TOKEN" >> "$HOME/%s.token"\n'
                                 % (desktop_id, desktop_id))
            os.chmod(program, 0o755)
            desk.write(os.path.join(desk.apps, desktop_id + ".desktop"),
                       "[Desktop Entry]\nType=Application\nName=%s\nExec=%s %%U\n"
                       "MimeType=x-scheme-handler/http;x-scheme-handler/https;\n" % (name, program))
        self.assertEqual(desk.run(["xdg-mime", "default", "charlie.desktop", "x-scheme-handler/https"]).returncode, 0)
        return desk

    def read(self, desk, name):
        path = os.path.join(desk.home, name)
        if not os.path.exists(path):
            return None
        with open(path, "rb") as f:
            return f.read()

    def ask(self, desk, link, token=""):
        # dbus-send cuts array elements at commas: the link has none.
        done = desk.run(["dbus-send", "--session", "--print-reply", "--dest=app.tolvane.Tolvane",
                         "/app/tolvane/Tolvane", "app.tolvane.Tolvane.Links1.Ask", "array:string:" + link,
                         "string:" + token])
        self.assertEqual(done.returncode, 0, done.stderr)

    def picker(self, desk, watch=()):
        found = wait_for(lambda: desk.xdotool("search", "--onlyvisible", "--name", "^Open Link$").stdout.split(),
                         watch=watch)
        self.assertTrue(found, "the picker never showed")
        window = found[0]
        # Keys go to the focused window through XTEST: sent to a window that closes on the press, a
        # key would never see its release and stay down in the server.
        desk.xdotool("windowfocus", "--sync", window)
        return window

    def gone(self, desk, window):
        return wait_for(lambda: window not in desk.xdotool("search", "--onlyvisible", "--name", "^Open Link$").stdout)

    def test_keys_pick_drop_and_remember_while_the_tray_runs(self):
        desk = self.make_desktop()
        desk.start_x()
        desk.env["DBUS_SESSION_BUS_ADDRESS"] = desk.start_bus("bus")[0]
        tray = desk.spawn([TOLVANE])
        # The icon shows before the bus name is claimed.
        self.assertTrue(wait_for(lambda: "true" in desk.run(
            ["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus", "--object-path", "/org/freedesktop/DBus",
             "--method", "org.freedesktop.DBus.NameHasOwner", "app.tolvane.Tolvane"]).stdout, watch=[tray]),
            "the tray never took its bus name")

        # "2" is the second browser listed, not the default one.
        self.ask(desk, LINK, "token-from-the-click")
        window = self.picker(desk, [tray])
        desk.xdotool("key", "2")
        self.assertTrue(wait_for(lambda: self.read(desk, "bravo.opened")), "Bravo never started")
        self.assertEqual(self.read(desk, "bravo.opened"), (LINK + "\n").encode())
        self.assertEqual(self.read(desk, "bravo.token"), b"token-from-the-click\n")
        self.assertTrue(self.gone(desk, window), "the picker stays after a pick")

        # A second request while the picker shows waits its turn; Escape drops only the first link.
        self.ask(desk, "https://dropped.example/")
        window = self.picker(desk, [tray])
        self.ask(desk, "https://www.example.net/page")
        desk.xdotool("key", "Escape")
        self.assertTrue(self.gone(desk, window), "Escape leaves the picker open")
        window = self.picker(desk, [tray])
        self.assertFalse(any(b"dropped.example" in (self.read(desk, n + ".opened") or b"") for n, _ in BROWSERS))

        # "Always open www.example.net here", then "1": Alpha gets it and a rule says so from now on.
        desk.xdotool("key", "Tab", "space", "1")
        self.assertTrue(wait_for(lambda: self.read(desk, "alpha.opened")), "Alpha never started")
        self.assertEqual(self.read(desk, "alpha.opened"), b"https://www.example.net/page\n")
        self.assertEqual(self.read(desk, ".config/tolvane/links.rules"), b"www.example.net alpha.desktop\n")
        self.assertIsNone(tray.poll())

    def test_bus_started_picker_outlives_a_tray_taking_over_and_enter_takes_the_default(self):
        desk = self.make_desktop()
        desk.start_x()
        address, _ = desk.start_bus("bus", TOLVANE + " --service")
        desk.env["DBUS_SESSION_BUS_ADDRESS"] = address
        self.ask(desk, LINK)
        window = self.picker(desk)
        service = self.owner_pid(desk)
        # The user starts the tray while the question is open: the tray takes the name, the question stays.
        tray = desk.spawn([TOLVANE])
        self.assertTrue(wait_for(lambda: self.owner_pid(desk) not in (None, service), watch=[tray]),
                        "the tray never took the bus name")
        window = self.picker(desk)
        desk.xdotool("key", "Return")
        self.assertTrue(wait_for(lambda: self.read(desk, "charlie.opened")), "the default browser never started")
        self.assertEqual(self.read(desk, "charlie.opened"), (LINK + "\n").encode())
        self.assertIsNone(self.read(desk, "alpha.opened"))
        # Its question answered, the service leaves the tray alone.
        self.assertTrue(wait_for(lambda: not os.path.exists("/proc/%d" % service)), "the service stays")

    def test_without_a_display_the_caller_is_told_to_open_the_link_itself(self):
        desk = self.make_desktop()
        for name in ("DISPLAY", "QT_QPA_PLATFORM"):
            desk.env.pop(name, None)
        desk.env["DBUS_SESSION_BUS_ADDRESS"] = desk.start_bus("bus", TOLVANE + " --service")[0]
        done = desk.run(["dbus-send", "--session", "--print-reply", "--dest=app.tolvane.Tolvane",
                         "/app/tolvane/Tolvane", "app.tolvane.Tolvane.Links1.Ask", "array:string:" + LINK, "string:"])
        self.assertNotEqual(done.returncode, 0)
        self.assertIn("app.tolvane.Tolvane.Error.CannotAsk", done.stderr)
        self.assertTrue(all(self.read(desk, n + ".opened") is None for n, _ in BROWSERS))

    def owner_pid(self, desk):
        reply = desk.run(["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
                          "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.GetConnectionUnixProcessID",
                          "app.tolvane.Tolvane"])
        return int(reply.stdout.strip("()\n, ").split()[-1]) if reply.returncode == 0 else None


if __name__ == "__main__":
    unittest.main()
