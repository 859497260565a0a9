# SPDX-License-Identifier: GPL-3.0-or-later
"""The Debian package: built by scripts/package.sh, accepted by lintian, and working once unpacked."""
import gzip
import os
import subprocess
import tempfile
import unittest

from desktop import Desktop

SOURCE = os.environ["TOLVANE_SOURCE_DIR"]
BUILD = os.environ["TOLVANE_BUILD_DIR"]


class DebianPackage(unittest.TestCase):
    def test_package_builds_passes_lintian_and_runs_unpacked(self):
        tmp = tempfile.TemporaryDirectory(prefix="tolvane-package-")
        self.addCleanup(tmp.cleanup)
        built = subprocess.run([os.path.join(SOURCE, "scripts", "package.sh"), BUILD, os.path.join(tmp.name, "dist")],
                               capture_output=True, text=True)
        # package.sh fails when lintian reports an error.
        self.assertEqual(built.returncode, 0, built.stdout + built.stderr)
        deb = built.stdout.strip().splitlines()[-1]
        arch = subprocess.run(["dpkg", "--print-architecture"], capture_output=True, text=True).stdout.strip()
        self.assertRegex(os.path.basename(deb), r"^tolvane_\d+\.\d+\.\d+_%s\.deb$" % arch)
        fields = subprocess.run(["dpkg-deb", "--field", deb, "Section", "Depends"], capture_output=True, text=True)
        self.assertIn("Section: utils", fields.stdout)
        self.assertIn("libqt6core6", fields.stdout, "dependencies come from dpkg-shlibdeps")

        root = os.path.join(tmp.name, "root")
        self.assertEqual(subprocess.run(["dpkg-deb", "-x", deb, root]).returncode, 0)
        for path in ["usr/share/applications/app.tolvane.Tolvane.desktop",
                     "usr/share/metainfo/app.tolvane.Tolvane.metainfo.xml",
                     "usr/share/icons/hicolor/scalable/apps/app.tolvane.Tolvane.svg",
                     "usr/share/bash-completion/completions/tolvane",
                     "usr/share/man/man1/tolvane.1.gz",
                     "usr/share/doc/tolvane/copyright"]:
            self.assertTrue(os.path.isfile(os.path.join(root, path)), path)
        with open(os.path.join(root, "usr/share/dbus-1/services/app.tolvane.Tolvane.service")) as f:
            self.assertIn("Exec=/usr/bin/tolvane --service\n", f.read())
        with open(os.path.join(root, "usr/share/applications/app.tolvane.Tolvane.desktop")) as f:
            self.assertIn("Exec=/usr/bin/tolvane\n", f.read())

        desk = Desktop()
        self.addCleanup(desk.close)
        desk.browser("bravo", "Bravo")
        env = dict(desk.env)
        for name in ("DISPLAY", "QT_QPA_PLATFORM"):
            env.pop(name, None)
        listed = subprocess.run([os.path.join(root, "usr/bin/tolvane"), "--list"], env=env,
                                capture_output=True, text=True, timeout=30)
        self.assertEqual((listed.returncode, listed.stdout), (0, "bravo.desktop\tBravo\t\n"), listed.stderr)
        with gzip.open(os.path.join(root, "usr/share/man/man1/tolvane.1.gz"), "rt") as f:
            manual = f.read()
        self.assertIn(".TH TOLVANE", manual)
        self.assertIn("\\-\\-set", manual, "written from --help")
        sections = [line[4:].strip('"') for line in manual.splitlines() if line.startswith(".SH ")]
        for section in ("D-BUS SERVICE", "FILES", "EXAMPLES", "SEE ALSO"):
            self.assertIn(section, sections)
        for named in ("mimeapps.list", "group.tolva.conf", "tolvane.conf", "autostart", "xdg\\-settings"):
            self.assertIn(named, manual)


if __name__ == "__main__":
    unittest.main(verbosity=2)
