# SPDX-License-Identifier: GPL-3.0-or-later
"""The automation actions of the real Tolvane binary over a private session bus, called with gdbus."""
import os
import subprocess
import time
import unittest

from desktop import Desktop, wait_for

TOLVANE = os.environ["TOLVANE_BIN"]
DEST = ["--dest", "app.tolvane.Tolvane", "--object-path", "/app/tolvane/Tolvane"]
IFACE = "app.tolvane.Tolvane.Automation1."


class AutomationEndToEnd(unittest.TestCase):
    def setUp(self):
        self.desk = Desktop()
        self.addCleanup(self.desk.close, [TOLVANE])
        self.ids = {}
        for desktop_id, name in [("alpha", "Alpha"), ("bravo", "Bravo"), ("charlie", "Charlie")]:
            path = self.desk.browser(desktop_id, name)
            self.ids[desktop_id] = "%s::file://%s" % (desktop_id, path)
        # As from SSH or cron: no display at all; the bus starts the service itself.
        for name in ("DISPLAY", "QT_QPA_PLATFORM"):
            self.desk.env.pop(name, None)
        address, self.out_path = self.desk.start_bus("bus", TOLVANE + " --service")
        self.desk.env["DBUS_SESSION_BUS_ADDRESS"] = address

    def bus(self, method, *args):
        return self.desk.run(["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
                              "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus." + method, *args])

    def call(self, method, *args):
        return self.desk.run(["gdbus", "call", "--session", *DEST, "--method", IFACE + method, *args])

    def owner_pid(self):
        reply = self.bus("GetConnectionUnixProcessID", "app.tolvane.Tolvane").stdout
        return int(reply.strip("()\n, ").split()[-1])

    def test_default_browser_property_follows_changes_made_by_other_programs(self):
        introspected = self.desk.run(["gdbus", "introspect", "--session", "--xml", *DEST])
        self.assertEqual(introspected.returncode, 0, introspected.stderr)
        self.assertIn('<arg name="id" type="s" direction="in">', introspected.stdout)
        self.assertIn("org.gtk.GDBus.DocString", introspected.stdout)
        self.assertIn('<property name="DefaultBrowser" type="s" access="read">', introspected.stdout)

        monitor_out = open(os.path.join(self.desk.home, "monitor.out"), "w")
        self.addCleanup(monitor_out.close)
        self.desk.spawn(["gdbus", "monitor", "--session", "--dest", "app.tolvane.Tolvane"], stdout=monitor_out)
        time.sleep(0.5)  # gdbus monitor subscribes asynchronously and says nothing when it is ready

        def seen(desktop_id):
            with open(monitor_out.name) as f:
                return any("PropertiesChanged" in l and "'DefaultBrowser': <'%s'>" % desktop_id in l
                           for l in f.read().splitlines())
        for desktop_id in ("charlie.desktop", "alpha.desktop"):
            self.assertEqual(self.desk.run(["xdg-mime", "default", desktop_id, "x-scheme-handler/https"]).returncode, 0)
            self.assertTrue(wait_for(lambda: seen(desktop_id)), "no PropertiesChanged for " + desktop_id)
            got = self.desk.run(["gdbus", "call", "--session", *DEST, "--method",
                                 "org.freedesktop.DBus.Properties.Get", IFACE.rstrip("."), "DefaultBrowser"])
            self.assertIn("<'%s'>" % desktop_id, got.stdout, got.stderr)

    def printed(self):
        with open(self.out_path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def test_first_call_starts_tolvane_and_switches(self):
        self.assertIn("false", self.bus("NameHasOwner", "app.tolvane.Tolvane").stdout)
        listed = self.call("SuggestedEntities")
        self.assertEqual(listed.returncode, 0, listed.stderr)
        for desktop_id in self.ids.values():
            self.assertIn("'%s'" % desktop_id, listed.stdout)
        self.assertIn("'The Bravo browser'", listed.stdout)
        self.assertIn("0x89, 0x50, 0x4e, 0x47", listed.stdout, "icons are drawn without a display")
        self.assertEqual(self.desk.stray_processes(TOLVANE), [self.owner_pid()])

        done = self.call("SetDefaultSystemBrowser", self.ids["bravo"])
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(self.desk.default_for("x-scheme-handler/https"), "bravo.desktop")
        self.assertEqual(self.desk.default_for("x-scheme-handler/http"), "bravo.desktop")

        focus = self.call("PerformFocusFilter", self.ids["charlie"])
        self.assertEqual(focus.returncode, 0, focus.stderr)
        self.assertEqual(self.desk.default_for("x-scheme-handler/https"), "charlie.desktop")

    def test_service_ends_with_its_bus(self):
        self.assertEqual(self.call("SuggestedEntities").returncode, 0)
        service = self.owner_pid()
        daemon = next(p for p in self.desk.procs if p.args[0] == "dbus-daemon")
        daemon.terminate()
        daemon.wait(5)
        self.assertTrue(wait_for(lambda: not os.path.exists("/proc/%d" % service)),
                        "the service must not outlive the session bus it serves")

    def test_stale_id_and_failing_switch(self):
        stale_id = "alpha:1.0:file:///gone/alpha.desktop"
        stale = self.call("SetDefaultSystemBrowser", stale_id)
        self.assertNotEqual(stale.returncode, 0, "an id that matches nothing is not a success")
        self.assertIn("app.tolvane.Tolvane.Error.NoSuchBrowser", stale.stderr)
        self.assertIn(stale_id, stale.stderr)
        self.assertTrue(wait_for(lambda: "No valid default browser is selected" in self.printed()),
                        self.printed())
        self.assertFalse(os.path.exists(os.path.join(self.desk.config, "mimeapps.list")), "nothing was written")

        # A folder where mimeapps.list belongs cannot be replaced: the switch fails with the named error.
        os.makedirs(os.path.join(self.desk.config, "mimeapps.list"))
        failed = self.call("SetDefaultSystemBrowser", self.ids["alpha"])
        self.assertNotEqual(failed.returncode, 0)
        self.assertIn("app.tolvane.Tolvane.Error.CouldNotSetDefaultBrowser", failed.stderr)
        self.assertIn("Alpha", failed.stderr)
        # The file and the system's reason, not only that something could not be written.
        self.assertIn(os.path.join(self.desk.config, "mimeapps.list") + "\u201d: it is not a regular file", failed.stderr)
        self.assertTrue(os.path.isdir(os.path.join(self.desk.config, "mimeapps.list")))


class SecondSession(unittest.TestCase):
    """A tray instance runs on one bus; a script on another bus of the same home (SSH) still gets answers."""

    def test_other_bus_is_served_while_the_tray_instance_runs(self):
        desk = Desktop()
        self.addCleanup(desk.close, [TOLVANE])
        for desktop_id, name in [("alpha", "Alpha"), ("bravo", "Bravo")]:
            desk.browser(desktop_id, name)
        tray_bus, _ = desk.start_bus("tray-bus")
        desk.start_x()
        tray = desk.spawn([TOLVANE], env=dict(desk.env, DBUS_SESSION_BUS_ADDRESS=tray_bus))
        self.assertTrue(wait_for(lambda: desk.windows("tolvane"), watch=[tray]), "the tray icon never appeared")

        ssh_bus, _ = desk.start_bus("ssh-bus", TOLVANE + " --service")
        ssh = dict(desk.env, DBUS_SESSION_BUS_ADDRESS=ssh_bus)
        ssh.pop("DISPLAY")
        call = lambda *args: subprocess.run(["gdbus", "call", "--session", "--timeout", "10", *DEST, "--method",
                                             *args], env=ssh, capture_output=True, text=True)
        listed = call(IFACE + "SuggestedEntities")
        self.assertEqual(listed.returncode, 0, listed.stderr)
        self.assertIn("'The Bravo browser'", listed.stdout)
        done = call(IFACE + "SetDefaultSystemBrowser", listed.stdout.split("'")[1])
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(desk.default_for("x-scheme-handler/https"), listed.stdout.split("'")[1].split(":")[0] + ".desktop")
        self.assertIsNone(tray.poll(), "the tray instance keeps running")
        self.assertEqual(len(desk.stray_processes(TOLVANE)), 2)


    def test_tray_instance_takes_the_name_from_a_service_started_earlier(self):
        desk = Desktop()
        self.addCleanup(desk.close, [TOLVANE])
        desk.browser("alpha", "Alpha")
        address, _ = desk.start_bus("bus", TOLVANE + " --service")
        desk.env["DBUS_SESSION_BUS_ADDRESS"] = address
        first = desk.run(["gdbus", "call", "--session", *DEST, "--method", IFACE + "SuggestedEntities"])
        self.assertEqual(first.returncode, 0, first.stderr)
        service = desk.stray_processes(TOLVANE)
        self.assertEqual(len(service), 1)

        desk.start_x()
        tray = desk.spawn([TOLVANE])
        self.assertTrue(wait_for(lambda: desk.stray_processes(TOLVANE) == [tray.pid]),
                        "the service leaves once the tray instance owns the name")
        owner = desk.run(["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
                          "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.GetConnectionUnixProcessID",
                          "app.tolvane.Tolvane"]).stdout
        self.assertIn(str(tray.pid), owner)


class QuietService(unittest.TestCase):
    """A service the bus started leaves when nobody calls it, and the bus starts it again for the next call."""

    def test_quiet_service_leaves_and_the_next_call_brings_it_back(self):
        desk = Desktop()
        self.addCleanup(desk.close, [TOLVANE])
        desk.browser("alpha", "Alpha")
        desk.browser("bravo", "Bravo")
        for name in ("DISPLAY", "QT_QPA_PLATFORM"):
            desk.env.pop(name, None)
        # The daemon passes its environment to what it starts: two quiet seconds instead of a minute.
        desk.env["TOLVANE_SERVICE_IDLE_MS"] = "2000"
        address, _ = desk.start_bus("bus", TOLVANE + " --service")
        desk.env["DBUS_SESSION_BUS_ADDRESS"] = address
        call = lambda *args: desk.run(["gdbus", "call", "--session", *DEST, "--method", *args])

        self.assertEqual(call(IFACE + "SuggestedEntities").returncode, 0)
        first = desk.stray_processes(TOLVANE)
        self.assertEqual(len(first), 1)
        # Calls more often than the quiet time keep the same process.
        for _ in range(8):
            time.sleep(0.5)
            self.assertEqual(call(IFACE + "Entities", "@as []").returncode, 0)
        self.assertEqual(desk.stray_processes(TOLVANE), first)

        self.assertTrue(wait_for(lambda: not desk.stray_processes(TOLVANE)), "the quiet service stays")
        done = call(IFACE + "SetDefaultSystemBrowser", "bravo.desktop")
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(desk.default_for("x-scheme-handler/https"), "bravo.desktop")
        again = desk.stray_processes(TOLVANE)
        self.assertEqual(len(again), 1)
        self.assertNotEqual(again, first)


class QuitUnderLoad(unittest.TestCase):
    """Quit from the tray menu while scripts keep asking for browsers and their icons."""

    def test_quit_ends_the_process_while_requests_are_in_flight(self):
        desk = Desktop()
        self.addCleanup(desk.close, [TOLVANE])
        for n in range(12):
            desk.browser("web%02d" % n, "Web %d" % n)
        address, _ = desk.start_bus("bus")
        desk.env["DBUS_SESSION_BUS_ADDRESS"] = address
        desk.start_x()
        proc = desk.spawn([TOLVANE])
        owned = lambda: "true" in desk.run(["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus",
                                            "--object-path", "/org/freedesktop/DBus", "--method",
                                            "org.freedesktop.DBus.NameHasOwner", "app.tolvane.Tolvane"]).stdout
        self.assertTrue(wait_for(owned, watch=[proc]), "Tolvane never took its bus name")
        icon = wait_for(lambda: desk.windows("tolvane"))
        self.assertTrue(icon, "the tray icon never appeared")

        call = " ".join(["gdbus", "call", "--session", *DEST, "--method", IFACE + "SuggestedEntities"])
        for _ in range(6):
            desk.spawn(["sh", "-c", "while :; do %s >/dev/null 2>&1 & %s >/dev/null 2>&1; done" % (call, call)])
        time.sleep(1)  # let the flood build up before quitting; the check below has its own deadline

        geometry = dict(line.split("=") for line in desk.xdotool("getwindowgeometry", "--shell", icon[0]).stdout.split())
        desk.xdotool("mousemove", str(int(geometry["X"]) + int(geometry["WIDTH"]) // 2),
                     str(int(geometry["Y"]) + int(geometry["HEIGHT"]) // 2), "click", "1")
        self.assertTrue(wait_for(lambda: len(desk.windows("tolvane", visible=True)) > 1), "the menu did not open")
        desk.xdotool("key", "Down", "Return")  # Quit is the first row
        try:
            proc.wait(10)
        except subprocess.TimeoutExpired:
            self.fail("Tolvane hangs after Quit while automation requests are in flight")
        self.assertFalse(owned(), "the bus name is released")


if __name__ == "__main__":
    unittest.main(verbosity=2)
