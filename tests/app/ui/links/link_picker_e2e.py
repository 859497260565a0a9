# SPDX-License-Identifier: GPL-3.0-or-later
"""The link picker of the real Tolvane, asked over a private session bus as the router asks it, on
Xvfb and in KWin's virtual Wayland session, with recording browsers: the key pressed decides which
browser gets the link, byte for byte; only web links are taken, each once, and none is lost."""
import os
import subprocess
import shutil
import signal
import unittest

from desktop import Desktop, wait_for

TOLVANE = os.environ["TOLVANE_BIN"]
ACTIVATION_TOKEN = os.environ.get("TOLVANE_ACTIVATION_TOKEN")
FAKE_KEY_PRESS = os.environ.get("TOLVANE_FAKE_KEY_PRESS")
BROWSER_WINDOW = os.environ.get("TOLVANE_BROWSER_WINDOW")
KWIN = "/usr/bin/kwin_wayland"
KEY_1, KEY_2 = 2, 3
# Prints each window KWin activates: focus as the compositor sees it, not as Tolvane believes it.
# KWin 5 names windows clients; KWin 6 calls them windows.
ACTIVE_WINDOWS_SCRIPT = """
function report(window) { print("tolvane-test active: " + (window ? window.caption : "")); }
(workspace.windowActivated || workspace.clientActivated).connect(report);
report(workspace.activeWindow !== undefined ? workspace.activeWindow : workspace.activeClient);
"""
# Spaces, quotes, a shell variable, a non-ASCII letter and an escape: each must reach the browser as
# it was sent, one argument.
LINK = 'https://example.org/a b/\u00fc?q="x"&home=$HOME;%41#top'
BROWSERS = [("alpha", "Alpha"), ("bravo", "Bravo"), ("charlie", "Charlie")]  # listed in this order


class LinkPicker(unittest.TestCase):
    def make_desktop(self, then=""):
        """Recording browsers; each then runs `then`, a shell line."""
        desk = Desktop()
        self.addCleanup(desk.close, [TOLVANE])
        for desktop_id, name in BROWSERS:
            program = desk.write("bin/" + desktop_id,
                                 '#!/bin/sh\nprintf "%%s\\n" "$@" >> "$HOME/%s.opened"\n'
                                 'printf "%%s\\n" "$XDG_ACTIVATION_TOKEN" >> "$HOME/%s.token"\n%s\n'
                                 % (desktop_id, desktop_id, then))
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
        found = wait_for(lambda: desk.xdotool("search", "--onlyvisible", "--name", "^Open Link").stdout.split(),
                         watch=watch)
        self.assertTrue(found, "the picker never showed")
        window = found[0]
        # Keys go to the focused window through XTEST: sent to a window that closes on the press, a
        # key would never see its release and stay down in the server.
        desk.xdotool("windowfocus", "--sync", window)
        return window

    def gone(self, desk, window):
        return wait_for(lambda: window not in desk.xdotool("search", "--onlyvisible", "--name", "^Open Link").stdout)

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

        # The router asks, as a click through GLib 2.74 starts it: the token comes as the start-up id only.
        # "2" is the second browser listed, not the default one.
        rules = desk.write(".config/tolvane/links.rules", "example.org ask\n")
        routed = subprocess.run([TOLVANE, "--open", LINK], env=dict(desk.env, DESKTOP_STARTUP_ID="token-from-the-click"),
                                capture_output=True, text=True, timeout=60)
        self.assertEqual(routed.returncode, 0, routed.stderr)
        os.remove(rules)
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

    def gdbus_ask(self, desk, links, timeout=25):
        quoted = ", ".join("'%s'" % l for l in links)
        return desk.run(["gdbus", "call", "--session", "--timeout", str(timeout), "--dest", "app.tolvane.Tolvane",
                         "--object-path", "/app/tolvane/Tolvane", "--method", "app.tolvane.Tolvane.Links1.Ask",
                         "[%s]" % quoted, "''"])

    def opened(self, desk):
        return b"".join(self.read(desk, n + ".opened") or b"" for n, _ in BROWSERS)

    def test_only_web_links_are_taken_each_once_and_none_lost_when_the_tray_quits(self):
        desk = self.make_desktop()
        desk.start_x()
        desk.env["DBUS_SESSION_BUS_ADDRESS"] = desk.start_bus("bus")[0]
        tray = desk.spawn([TOLVANE])
        self.assertTrue(wait_for(lambda: "true" in desk.run(
            ["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus", "--object-path", "/org/freedesktop/DBus",
             "--method", "org.freedesktop.DBus.NameHasOwner", "app.tolvane.Tolvane"]).stdout, watch=[tray]),
            "the tray never took its bus name")
        # Its icon, before any other window of the tray shows.
        icon = wait_for(lambda: desk.windows("tolvane"), watch=[tray])
        self.assertTrue(icon, "no tray icon")

        # Nothing but a web link reaches a browser from the bus: the call is refused, naming what is wrong.
        for links, named in ((["https://ok.example/", "--gpu-launcher=touch /tmp/pwned"], "urls[1]"),
                             (["file:///etc/passwd"], "urls[0]"), (["--remote-debugging-port=9222"], "urls[0]")):
            refused = self.gdbus_ask(desk, links)
            self.assertNotEqual(refused.returncode, 0, links)
            self.assertIn("org.freedesktop.DBus.Error.InvalidArgs", refused.stderr)
            self.assertIn(named, refused.stderr)

        # A busy tray makes the caller give up (and open the link itself): the tray must not take it later.
        os.kill(tray.pid, signal.SIGSTOP)
        try:
            late = self.gdbus_ask(desk, ["https://late.example/"], timeout=1)
        finally:
            os.kill(tray.pid, signal.SIGCONT)
        self.assertNotEqual(late.returncode, 0, "the stopped tray answered")
        # Asks are served in order: had the late link been taken, the picker would show it first.
        self.ask(desk, "https://first.example/")
        self.picker(desk, [tray])
        self.ask(desk, "https://second.example/")
        self.ask(desk, "https://third.example/")
        self.assertFalse(any(w in self.opened(desk) for w in (b"ok.example", b"passwd", b"--", b"late.example")))

        # The session ends the tray (SIGTERM at log-out) with one link shown and two waiting: the replies
        # said they were taken, so all three open in the default browser.
        os.kill(tray.pid, signal.SIGTERM)
        self.assertTrue(wait_for(lambda: tray.poll() is not None), "the tray did not quit")
        self.assertTrue(wait_for(lambda: (self.read(desk, "charlie.opened") or b"").count(b"\n") == 3),
                        self.opened(desk))
        self.assertEqual(self.read(desk, "charlie.opened"),
                         b"https://first.example/\nhttps://second.example/\nhttps://third.example/\n")
        self.assertEqual(self.opened(desk), self.read(desk, "charlie.opened"))

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

    def test_on_kwin_each_ask_brings_the_picker_back_and_the_browser_gets_a_token_of_its_own(self):
        if not (ACTIVATION_TOKEN and FAKE_KEY_PRESS and BROWSER_WINDOW and os.path.exists(KWIN)):
            self.skipTest("KWin, wayland-client or the Wayland protocols are missing")
        # Bravo opens a window that asks for the focus with the token it was started with.
        desk = self.make_desktop('[ "$(basename "$0")" != bravo ] || exec %s bravo' % BROWSER_WINDOW)
        os.chmod(desk.home, 0o700)  # Wayland insists on a private runtime folder
        desk.env.pop("DISPLAY", None)
        desk.env.update({"DBUS_SESSION_BUS_ADDRESS": desk.start_bus("bus")[0], "WAYLAND_DISPLAY": "tolvane-kwin",
                         "QT_QPA_PLATFORM": "wayland", "XKB_DEFAULT_LAYOUT": "us"})
        # KWin sees the system's data and trusts the two helpers by their desktop entries; Tolvane sees
        # only the test's browsers.
        kwin_data = os.path.join(desk.home, "kwin-data")
        kwin_config = os.path.join(desk.home, "kwin-config")
        desk.write_kde_menu(kwin_config)
        for name, program, interface in (("token", ACTIVATION_TOKEN, "org_kde_plasma_window_management"),
                                         ("keys", FAKE_KEY_PRESS, "org_kde_kwin_fake_input")):
            desk.write(os.path.join(kwin_data, "applications", "tolvane-test-%s.desktop" % name),
                       "[Desktop Entry]\nType=Application\nName=%s\nExec=%s\nX-KDE-Wayland-Interfaces=%s\n"
                       % (name, program, interface))
        kwin_env = dict(desk.env, QT_QPA_PLATFORM="", XDG_DATA_DIRS=kwin_data + ":/usr/local/share:/usr/share",
                        XDG_CONFIG_DIRS=kwin_config + ":/etc/xdg", QT_LOGGING_RULES="kwin_*.debug=true")
        # The installed binary carries a file capability that containers refuse at exec; a copy has none.
        kwin = os.path.join(desk.home, "kwin", "kwin_wayland")
        os.makedirs(os.path.dirname(kwin))
        shutil.copy(KWIN, kwin)
        kwin_log = os.path.join(desk.home, "kwin.log")
        with open(kwin_log, "w") as log:
            compositor = desk.spawn([kwin, "--virtual", "--no-lockscreen", "--socket", "tolvane-kwin", "--width",
                                     "1280", "--height", "800"], env=kwin_env, stdout=log, stderr=log)

        def kwin_said():
            with open(kwin_log, encoding="utf-8", errors="replace") as f:
                return f.read()

        def active():
            lines = [l.split("tolvane-test active: ", 1)[1] for l in kwin_said().splitlines()
                     if "tolvane-test active: " in l]
            return lines[-1] if lines else None

        def bus(*args):
            return desk.run(["gdbus", "call", "--session", "--dest", "org.kde.KWin", *args])

        script = desk.write("active.js", ACTIVE_WINDOWS_SCRIPT)

        def load():
            loaded = bus("--object-path", "/Scripting", "--method", "org.kde.kwin.Scripting.loadScript", script,
                         "tolvanetest").stdout.strip("()\n, ")
            return loaded if loaded.isdigit() else None
        # KWin serves its scripting once it is up.
        number = wait_for(load, watch=[compositor])
        self.assertTrue(number, "KWin did not start:\n" + kwin_said())
        ran = bus("--object-path", "/Scripting/Script" + number, "--method", "org.kde.kwin.Script.run")
        if ran.returncode != 0:
            ran = bus("--object-path", "/" + number, "--method", "org.kde.kwin.Script.run")
        self.assertEqual(ran.returncode, 0, ran.stderr)
        self.assertTrue(wait_for(lambda: active() is not None), kwin_said())

        def token():
            made = desk.run([ACTIVATION_TOKEN])
            self.assertEqual(made.returncode, 0, made.stderr)
            self.assertTrue(made.stdout.strip() and not made.stdout.startswith("not-granted"), made.stdout)
            return made.stdout.strip()

        # As at log-in: without a tray host it waits quietly rather than showing its menu in a window.
        log = open(os.path.join(desk.home, "tray.log"), "w")
        self.addCleanup(log.close)
        tray = desk.spawn([TOLVANE, "--autostart"], stdout=log, stderr=log)
        self.assertTrue(wait_for(lambda: "true" in desk.run(
            ["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus", "--object-path", "/org/freedesktop/DBus",
             "--method", "org.freedesktop.DBus.NameHasOwner", "app.tolvane.Tolvane"]).stdout, watch=[tray]),
            "the tray never took its bus name")

        first = token()
        self.ask(desk, "https://first.example/", first)
        # Qt adds the application's name to the title.
        self.assertTrue(wait_for(lambda: (active() or "").startswith("Open Link \u2014 Tolvane"), watch=[tray]),
                        "picker not active: %s" % active())
        # A click elsewhere: another window takes the focus and covers the picker.
        desk.spawn(["weston-simple-shm"], env=dict(desk.env))
        self.assertTrue(wait_for(lambda: not (active() or "Open Link").startswith("Open Link")),
                        "nothing took the focus")
        # The next link, clicked there, brings the picker back, saying that one more waits.
        second = token()
        self.ask(desk, "https://second.example/", second)
        self.assertTrue(wait_for(lambda: (active() or "").startswith("Open Link \u2014 1 more waiting"), 20),
                        "in front: %s" % active())

        # "1" in the picker: the browser starts with a token KWin issued to the picker for it, not one
        # the picker spent.
        self.assertEqual(desk.run([FAKE_KEY_PRESS, str(KEY_1)]).returncode, 0)
        self.assertTrue(wait_for(lambda: self.read(desk, "alpha.opened")), "Alpha never started")
        self.assertEqual(self.read(desk, "alpha.opened"), b"https://first.example/\n")
        handed = self.read(desk, "alpha.token").decode().strip()
        self.assertTrue(handed.startswith("kwin-") and handed not in (first, second), handed)

        # The waiting link's picker; "2" there, with nothing left to ask: KWin lets Bravo's window take
        # the focus with the token Bravo was handed.
        self.assertTrue(wait_for(lambda: active() == "Open Link \u2014 Tolvane", 20), "in front: %s" % active())
        mark = len(kwin_said())
        self.assertEqual(desk.run([FAKE_KEY_PRESS, str(KEY_2)]).returncode, 0)
        self.assertTrue(wait_for(lambda: self.read(desk, "bravo.opened")), "Bravo never started")
        self.assertEqual(self.read(desk, "bravo.opened"), b"https://second.example/\n")
        self.assertNotIn(self.read(desk, "bravo.token").decode().strip(), ("", first, second, handed))
        self.assertTrue(wait_for(lambda: active() == "bravo", 20), "in front: %s" % active())
        said = kwin_said()[mark:]
        self.assertNotRegex(said, r'Refusing to activate [^\n]*caption="bravo"')
        # KWin says "activating … on behalf of" only for the token it holds.
        self.assertRegex(said, r'activating [^\n]*caption="bravo"[^\n]* on behalf of')

    def owner_pid(self, desk):
        reply = desk.run(["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
                          "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.GetConnectionUnixProcessID",
                          "app.tolvane.Tolvane"])
        return int(reply.stdout.strip("()\n, ").split()[-1]) if reply.returncode == 0 else None


if __name__ == "__main__":
    unittest.main()
