# SPDX-License-Identifier: GPL-3.0-or-later
"""`cmake --install` lays out a desktop installation that the desktop's own validators accept."""
import os
import subprocess
import tempfile
import unittest

BUILD = os.environ["TOLVANE_BUILD_DIR"]


class InstallTree(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory(prefix="tolvane-install-")
        cls.prefix = os.path.join(cls.tmp.name, "usr")
        done = subprocess.run(["cmake", "--install", BUILD, "--prefix", cls.prefix], capture_output=True, text=True)
        assert done.returncode == 0, done.stdout + done.stderr

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def path(self, *parts):
        return os.path.join(self.prefix, *parts)

    def test_binary_entry_and_metadata_are_valid(self):
        self.assertTrue(os.access(self.path("bin", "tolvane"), os.X_OK))
        entry = self.path("share", "applications", "app.tolvane.Tolvane.desktop")
        checked = subprocess.run(["desktop-file-validate", entry], capture_output=True, text=True)
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)
        # Hints too: two main categories, for one, put the entry twice in some menus.
        self.assertEqual(checked.stdout + checked.stderr, "")
        with open(entry) as f:
            self.assertIn("Icon=app.tolvane.Tolvane\n", f.read())
        metainfo = self.path("share", "metainfo", "app.tolvane.Tolvane.metainfo.xml")
        checked = subprocess.run(["appstreamcli", "validate", "--no-net", metainfo], capture_output=True, text=True)
        self.assertEqual(checked.returncode, 0, checked.stdout + checked.stderr)

    def test_icons_bus_files_guide_and_translations(self):
        for parts in [("share", "icons", "hicolor", "scalable", "apps", "app.tolvane.Tolvane.svg"),
                      ("share", "dbus-1", "interfaces", "app.tolvane.Tolvane.Automation1.xml"),
                      ("share", "doc", "tolvane", "automation-guide.html"),
                      ("share", "tolvane", "translations", "tolvane_en.qm"),
                      ("share", "tolvane", "translations", "tolvane_de.qm"),
                      ("share", "tolvane", "translations", "tolvane_fr.qm")]:
            self.assertTrue(os.path.isfile(self.path(*parts)), os.path.join(*parts))
        with open(self.path("share", "dbus-1", "services", "app.tolvane.Tolvane.service")) as f:
            service = f.read()
        self.assertIn("Name=app.tolvane.Tolvane\n", service)
        # The activation file names the program where this install put it, not the configured prefix.
        self.assertIn("Exec=%s --service\n" % self.path("bin", "tolvane"), service)


if __name__ == "__main__":
    unittest.main(verbosity=2)
