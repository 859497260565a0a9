"""The automation actions of the real Tolvane binary over a private session bus, called with gdbus."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from desktop import Desktop, bus_config, wait_for  # noqa: E402

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
        self.desk.env["QT_QPA_PLATFORM"] = "offscreen"
        services = os.path.join(self.desk.home, "services")
        os.makedirs(services)
        # Activation starts the real binary; what it prints lands in the daemon's output.
        with open(os.path.join(services, "app.tolvane.Tolvane.service"), "w") as f:
            f.write("[D-BUS Service]\nName=app.tolvane.Tolvane\nExec=%s\n" % TOLVANE)
        config = os.path.join(self.desk.home, "bus.conf")
        with open(config, "w") as f:
            f.write(bus_config(self.desk.home, services))
        self.out_path = os.path.join(self.desk.home, "bus.out")
        out = open(self.out_path, "w")
        self.addCleanup(out.close)
        # The activated process inherits the daemon's output, so what Tolvane prints lands in our file.
        self.desk.spawn(["dbus-daemon", "--config-file=" + config, "--nofork", "--print-address=1"],
                        stdout=out, stderr=out)
        address = wait_for(lambda: next((l for l in self.printed().splitlines() if l.startswith("unix:")), None))
        self.assertTrue(address, self.printed())
        self.desk.env["DBUS_SESSION_BUS_ADDRESS"] = address

    def bus(self, method, *args):
        return self.desk.run(["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
                              "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus." + method, *args])

    def call(self, method, *args):
        return self.desk.run(["gdbus", "call", "--session", *DEST, "--method", IFACE + method, *args])

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

        done = self.call("SetDefaultSystemBrowser", self.ids["bravo"])
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(self.desk.default_for("x-scheme-handler/https"), "bravo.desktop")
        self.assertEqual(self.desk.default_for("x-scheme-handler/http"), "bravo.desktop")

        focus = self.call("PerformFocusFilter", self.ids["charlie"])
        self.assertEqual(focus.returncode, 0, focus.stderr)
        self.assertEqual(self.desk.default_for("x-scheme-handler/https"), "charlie.desktop")

    def test_stale_id_and_failing_switch(self):
        stale = self.call("SetDefaultSystemBrowser", "alpha:1.0:file:///gone/alpha.desktop")
        self.assertEqual(stale.returncode, 0, stale.stderr)
        self.assertTrue(wait_for(lambda: "No valid default browser is selected" in self.printed(), 5),
                        self.printed())
        self.assertFalse(os.path.exists(os.path.join(self.desk.config, "mimeapps.list")), "nothing was written")

        # A folder where mimeapps.list belongs cannot be replaced: the switch fails with the named error.
        os.makedirs(os.path.join(self.desk.config, "mimeapps.list"))
        failed = self.call("SetDefaultSystemBrowser", self.ids["alpha"])
        self.assertNotEqual(failed.returncode, 0)
        self.assertIn("app.tolvane.Tolvane.Error.CouldNotSetDefaultBrowser", failed.stderr)
        self.assertIn("couldNotSetDefaultBrowser", failed.stderr)
        self.assertTrue(os.path.isdir(os.path.join(self.desk.config, "mimeapps.list")))


if __name__ == "__main__":
    unittest.main(verbosity=2)
