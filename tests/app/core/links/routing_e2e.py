# SPDX-License-Identifier: GPL-3.0-or-later
"""The link engine through the real `tolvane` and xdg-open, as a click reaches it: routing on and off
stay whole, a damaged record or a vanished browser never costs a link, and writers at the same moment
lose nothing. The browsers are recorders: each writes down what it was asked to open."""
import codecs
import os
import shutil
import subprocess
import threading
import unittest

from desktop import Desktop, wait_for

TOLVANE = os.environ["TOLVANE_BIN"]


class Routing(unittest.TestCase):
    def setUp(self):
        self.desk = Desktop()
        self.addCleanup(self.desk.close, [TOLVANE])
        self.env = dict(self.desk.env)
        for name in ("DISPLAY", "QT_QPA_PLATFORM", "DBUS_SESSION_BUS_ADDRESS", "XDG_CURRENT_DESKTOP"):
            self.env.pop(name, None)
        self.record = os.path.join(self.desk.home, "opened")
        for name in ("alpha", "bravo"):
            program = self.desk.write("bin/" + name, '#!/bin/sh\nprintf "%s\\t%%s\\n" "$*" >> %s\n'
                                      % (name, self.record))
            os.chmod(program, 0o755)
            self.desk.write(os.path.join(self.desk.apps, name + ".desktop"),
                            "[Desktop Entry]\nType=Application\nName=%s\nExec=%s %%U\nMimeType=text/html;"
                            "x-scheme-handler/http;x-scheme-handler/https;\n" % (name.title(), program))
        self.state = os.path.join(self.desk.config, "tolvane", "links.state")
        self.rules = os.path.join(self.desk.config, "tolvane", "links.rules")

    def tolvane(self, *args):
        return subprocess.run([TOLVANE, *args], env=self.env, capture_output=True, text=True, timeout=60)

    def ok(self, *args):
        done = self.tolvane(*args)
        self.assertEqual(done.returncode, 0, "%s: %s" % (args, done.stderr))
        return done

    def opened_by(self, link):
        """Opens `link` as a desktop does and says which browser got it."""
        # xdg-open reads the handlers only where it sees a display; nothing here draws on it.
        subprocess.run(["xdg-open", link], env=dict(self.env, DISPLAY=":99"), capture_output=True, timeout=60)
        wait_for(lambda: link in self.recorded(), 30)
        return [line.split("\t")[0] for line in self.recorded().splitlines() if line.endswith("\t" + link)]

    def recorded(self):
        if not os.path.exists(self.record):
            return ""
        with open(self.record) as f:
            return f.read()

    def test_a_damaged_record_or_a_lost_browser_never_costs_a_link(self):
        self.ok("--set", "alpha")
        self.ok("--route", "add", "ruled.example", "bravo")
        # The record cannot be written: routing stays off, whole, instead of on without a browser.
        os.makedirs(self.state)
        refused = self.tolvane("--route", "on")
        self.assertEqual(refused.returncode, 1, refused.stderr)
        self.assertEqual(self.desk.default_for("x-scheme-handler/https"), "alpha.desktop")
        self.assertEqual(self.opened_by("https://unruled.example/0"), ["alpha"])
        os.rmdir(self.state)
        self.ok("--route", "on")
        self.assertEqual(self.desk.default_for("x-scheme-handler/https"), "app.tolvane.Tolvane.Router.desktop")
        self.assertEqual(self.opened_by("https://ruled.example/1"), ["bravo"])
        with open(self.state, "rb") as f:
            whole = f.read()
        def put(content):
            with open(self.state, "wb") as f:
                f.write(content)
        damages = {
            "truncated": lambda: put(b""),
            "garbage": lambda: put(os.urandom(64)),
            "cut mid-line": lambda: put(whole[:12]),
            "UTF-16": lambda: put(codecs.BOM_UTF16_LE + whole.decode().encode("utf-16-le")),
            "deleted": lambda: os.remove(self.state),
            "a FIFO": lambda: (os.remove(self.state), os.mkfifo(self.state)),
            "a folder": lambda: (os.remove(self.state), os.mkdir(self.state)),
        }
        for n, (case, damage) in enumerate(damages.items()):
            with self.subTest(case):
                damage()
                link = "https://unruled.example/%d" % (n + 2)
                self.assertEqual(self.opened_by(link), ["alpha"])
                self.assertEqual(self.opened_by("https://ruled.example/%d" % (n + 2)), ["bravo"])
                self.assertEqual(self.ok("--get").stdout, "alpha.desktop\n")
                self.assertEqual(self.ok("--route", "status").stdout, "on\n")
                self.ok("--route", "off")
                self.assertEqual(self.desk.default_for("x-scheme-handler/https"), "alpha.desktop")
                if os.path.isdir(self.state):
                    os.rmdir(self.state)
                elif os.path.exists(self.state) and not os.path.isfile(self.state):
                    os.remove(self.state)
                self.ok("--route", "on")
        # The chosen browser goes while routing is on: pages' browser takes the links, and says why once.
        self.ok("--set", "bravo")
        self.ok("--set", "alpha")
        self.assertEqual(self.desk.default_for("text/html"), "alpha.desktop")
        with open(self.state, "w") as f:
            f.write("[Links]\nRoute=true\nChosen=gone.desktop\n")
        said = self.tolvane("--open", "https://unruled.example/lost")
        self.assertEqual(said.returncode, 0, said.stderr)
        self.assertIn("gone.desktop", said.stderr)
        self.assertTrue(wait_for(lambda: "https://unruled.example/lost" in self.recorded(), 30))

    def test_writers_at_the_same_moment_lose_nothing(self):
        self.ok("--set", "alpha")
        self.ok("--route", "on")
        for n in range(12):
            both = [("--route", "add", "a%d.example" % n, "alpha"), ("--route", "add", "b%d.example" % n, "bravo")]
            threads = [threading.Thread(target=self.ok, args=args) for args in both]
            [t.start() for t in threads]
            [t.join() for t in threads]
        listed = self.ok("--route", "list").stdout
        self.assertEqual(sorted(line.split("\t")[1] for line in listed.splitlines()),
                         sorted("%s%d.example" % (p, n) for p in "ab" for n in range(12)))
        for n in range(12):
            threads = [threading.Thread(target=self.ok, args=("--set", b)) for b in ("alpha", "bravo")]
            [t.start() for t in threads]
            [t.join() for t in threads]
            # Links no rule names and web pages go to one browser, whichever won.
            self.assertEqual(self.ok("--get").stdout.strip(), self.desk.default_for("text/html"), n)
            self.assertEqual(self.desk.default_for("x-scheme-handler/https"), "app.tolvane.Tolvane.Router.desktop")

    def test_the_rules_file_says_what_is_wrong_and_keeps_what_it_wrote(self):
        # A legal desktop file ID with a space: the rule reads back as written.
        self.desk.write(os.path.join(self.desk.apps, "My Browser.desktop"),
                        "[Desktop Entry]\nType=Application\nName=Mine\nExec=%s %%u\n"
                        "MimeType=x-scheme-handler/https;\n" % os.path.join(self.desk.home, "bin", "alpha"))
        self.ok("--route", "add", "example.org", "My Browser")
        self.assertEqual(self.ok("--route", "list").stdout, "1\texample.org\tMy Browser.desktop\n")
        self.assertEqual(self.ok("--route", "test", "https://example.org/").stdout, "My Browser.desktop\t1\n")
        # Too large a file is named for what it is.
        with open(self.rules, "w") as f:
            f.write("example.com alpha.desktop\n" * 50000)
        listed = self.tolvane("--route", "list")
        self.assertEqual(listed.returncode, 1)
        self.assertIn("more than the 1.0 MiB", listed.stderr)
        self.assertNotIn("not a regular file", listed.stderr)
        # A rule's browser that is gone: the link opens in the chosen one, and the reason reaches stderr
        # before the browser takes the process's place.
        with open(self.rules, "w") as f:
            f.write("gone.example gone.desktop\n")
        self.ok("--set", "alpha")
        done = self.tolvane("--open", "https://gone.example/")
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertIn("gone.desktop", done.stderr)
        self.assertTrue(wait_for(lambda: "https://gone.example/" in self.recorded(), 30))
        # A byte that is not UTF-8 reaches the browser as it came, not as U+FFFD.
        link = b"https://bytes.example/\xff"
        done = subprocess.run([TOLVANE.encode(), b"--open", link], env=self.env, capture_output=True, timeout=60)
        self.assertEqual(done.returncode, 0, done.stderr)

        def recorded_bytes():
            with open(self.record, "rb") as f:
                return f.read()
        self.assertTrue(wait_for(lambda: link in recorded_bytes(), 30), recorded_bytes())


if __name__ == "__main__":
    unittest.main()
