# SPDX-License-Identifier: GPL-3.0-or-later
"""The command line of the real binary, as a script runs it: no display, no session bus."""
import json
import os
import subprocess
import sys
import unittest

from desktop import Desktop, wait_for

TOLVANE = os.environ["TOLVANE_BIN"]


class CommandLine(unittest.TestCase):
    def setUp(self):
        self.desk = Desktop()
        self.addCleanup(self.desk.close, [TOLVANE])
        for desktop_id, name in [("org.example.Alpha", "Alpha"), ("bravo", "Bravo"), ("web-one", "Web"),
                                 ("web-two", "Web")]:
            self.desk.browser(desktop_id, name)
        self.mimeapps = os.path.join(self.desk.config, "mimeapps.list")
        self.headless = dict(self.desk.env)
        for name in ("DISPLAY", "QT_QPA_PLATFORM", "DBUS_SESSION_BUS_ADDRESS"):
            self.headless.pop(name, None)

    def tolvane(self, *args):
        return subprocess.run([TOLVANE, *args], env=self.headless, capture_output=True, text=True, timeout=30)

    def files(self):
        found = {}
        for folder, _, names in os.walk(self.desk.config):
            for name in names:
                path = os.path.join(folder, name)
                if os.path.islink(path):
                    found[path] = "-> " + os.readlink(path)
                    continue
                with open(path, "rb") as f:
                    found[path] = f.read()
        return found

    def test_list_get_and_set_by_every_kind_of_name(self):
        plain = self.tolvane("--list")
        self.assertEqual(plain.returncode, 0, plain.stderr)
        rows = [line.split("\t") for line in plain.stdout.splitlines()]
        self.assertEqual(sorted(r[0] for r in rows),
                         ["bravo.desktop", "org.example.Alpha.desktop", "web-one.desktop", "web-two.desktop"])
        self.assertTrue(all(len(r) == 3 for r in rows), rows)

        self.assertEqual(self.tolvane("--get").returncode, 1, "no default yet")

        listed = self.tolvane("--list", "--json")
        checked = subprocess.run(["python3", "-m", "json.tool"], input=listed.stdout, capture_output=True, text=True)
        self.assertEqual(checked.returncode, 0, checked.stderr)
        browsers = json.loads(listed.stdout)
        self.assertEqual([b["desktopId"] for b in browsers], [r[0] for r in rows], "the same order")
        self.assertEqual({tuple(sorted(b)) for b in browsers}, {("desktopId", "id", "isDefault", "name", "version")})
        alpha = next(b for b in browsers if b["name"] == "Alpha")

        for wanted, desktop_id in [(alpha["id"], "org.example.Alpha.desktop"), ("bravo.desktop", "bravo.desktop"),
                                   ("org.example.Alpha", "org.example.Alpha.desktop"), ("bRAVO", "bravo.desktop"),
                                   ("web-two", "web-two.desktop")]:
            done = self.tolvane("--set", wanted)
            self.assertEqual(done.returncode, 0, wanted + ": " + done.stderr)
            self.assertEqual(self.desk.default_for("x-scheme-handler/https"), desktop_id, wanted)
            self.assertEqual(self.desk.default_for("x-scheme-handler/http"), desktop_id, wanted)
            got = self.tolvane("--get")
            self.assertEqual((got.returncode, got.stdout), (0, desktop_id + "\n"))
        completion = os.path.join(os.environ["TOLVANE_SOURCE_DIR"], "app", "cli", "bash-completion", "tolvane")

        def complete(*words):
            done = subprocess.run(
                ["bash", "-c", 'source "$1"; shift; COMP_WORDS=(tolvane "$@"); COMP_CWORD=$#; _tolvane; '
                               'printf "%s\\n" "${COMPREPLY[@]}"', "-", completion, *words],
                env=dict(self.headless, PATH=os.path.dirname(TOLVANE) + ":" + self.headless["PATH"]),
                capture_output=True, text=True)
            return sorted(done.stdout.split())
        self.assertEqual(complete("--set", "web"), ["web-one.desktop", "web-two.desktop"])
        self.assertEqual(complete("--"), ["--get", "--help", "--list", "--open", "--route", "--set", "--version"])
        self.assertEqual(complete("--list", ""), ["--json"])
        self.assertEqual(complete("--get", ""), [])

        now = json.loads(self.tolvane("--list", "--json").stdout)
        self.assertEqual([b["desktopId"] for b in now if b["isDefault"]], ["web-two.desktop"])

    def test_standard_output_carries_results_only(self):
        # With automatic confirmation on, the confirmation run's own lines must not reach a script
        # that reads what --set and --get print.
        self.desk.write(".config/tolvane/group.tolva.conf", "[General]\nsettings.autoConfirmChange=true\n")
        done = self.tolvane("--set", "bravo")
        self.assertEqual((done.returncode, done.stdout), (0, ""), done.stderr)
        self.assertIn("Script done.", done.stderr)
        got = self.tolvane("--get")
        self.assertEqual((got.returncode, got.stdout), (0, "bravo.desktop\n"))

        # A file name and a Name= value with a line break forge no record of their own.
        self.desk.browser("evil\nforged.desktop\tForged", "Evil\\nforged2.desktop\tForged\t1")
        listed = self.tolvane("--list")
        self.assertEqual(listed.returncode, 0, listed.stderr)
        rows = [line.split("\t") for line in listed.stdout.splitlines()]
        self.assertEqual(len(rows), 5, listed.stdout)
        self.assertTrue(all(len(r) == 3 for r in rows), listed.stdout)
        self.assertNotIn("forged.desktop", [r[0] for r in rows])
        self.assertNotIn("forged2.desktop", [r[0] for r in rows])

        # Settings that cannot be read stop a switch here as they do over D-Bus.
        settings = os.path.join(self.desk.config, "tolvane", "group.tolva.conf")
        os.remove(settings)
        os.makedirs(settings)
        before = self.files()
        refused = self.tolvane("--set", "Alpha")
        self.assertEqual(refused.returncode, 1, refused.stderr)
        self.assertIn("group.tolva.conf", refused.stderr)
        self.assertEqual(self.files(), before)

    def test_ambiguous_unknown_and_failing_requests_change_nothing(self):
        self.assertEqual(self.tolvane("--set", "bravo").returncode, 0)
        before = self.files()
        ambiguous = self.tolvane("--set", "web")
        self.assertEqual(ambiguous.returncode, 2)
        self.assertIn("web-one.desktop", ambiguous.stderr)
        self.assertIn("web-two.desktop", ambiguous.stderr)
        unknown = self.tolvane("--set", "Charlie")
        self.assertEqual(unknown.returncode, 2)
        self.assertIn("Charlie", unknown.stderr)
        self.assertIn("bravo.desktop", unknown.stderr, "the candidates are listed")
        self.assertTrue(unknown.stderr.startswith("tolvane: "), unknown.stderr)
        for usage in [("--json",), ("--set",), ("--set", ""), ("--list", "--get"), ("--bogus",), ("--list", "extra")]:
            self.assertEqual(self.tolvane(*usage).returncode, 2, usage)
        self.assertEqual(self.files(), before)

        # A desktop-specific list that also names the browser, and a main list that cannot be replaced.
        self.headless["XDG_CURRENT_DESKTOP"] = "Test"
        self.desk.write(".config/test-mimeapps.list", "[Default Applications]\nx-scheme-handler/https=bravo.desktop\n")
        os.remove(self.mimeapps)
        os.symlink(os.path.join(self.desk.config, "test-mimeapps.list", "mimeapps.list"), self.mimeapps)
        before = self.files()
        failed = self.tolvane("--set", "Alpha")
        self.assertEqual(failed.returncode, 1)
        # The sentence alone, no log line of the write before it.
        self.assertTrue(failed.stderr.startswith("tolvane: Could not make Alpha the default browser"), failed.stderr)
        # ... which names the file and the system's reason, as gio would.
        self.assertIn("\u201c" + os.path.join(self.desk.config, "test-mimeapps.list", "mimeapps.list") +
                      "\u201d: Not a directory", failed.stderr)
        self.assertEqual(self.files(), before)

        # A named pipe where a list belongs is never waited on; both requests name it.
        os.remove(self.mimeapps)
        os.mkfifo(self.mimeapps)
        for request, status in [(("--get",), 0), (("--set", "Alpha"), 1)]:
            refused = self.tolvane(*request)  # the desktop's own list still answers --get
            self.assertEqual(refused.returncode, status, refused.stderr)
            self.assertIn("\u201c" + self.mimeapps + "\u201d: it is not a regular file", refused.stderr)

        # A list kept on a read-only mount or a full disk (each mounted in a namespace of this run's
        # own): the sentence says which file and what the system said.
        os.remove(self.mimeapps)
        elsewhere = os.path.join(self.desk.home, "elsewhere")
        os.makedirs(elsewhere)
        self.desk.write("elsewhere/mimeapps.list", "[Default Applications]\nx-scheme-handler/https=bravo.desktop\n")
        os.symlink(os.path.join(elsewhere, "mimeapps.list"), self.mimeapps)
        before = self.files()
        for mount, reason in [
                ('mount --bind "$0" "$0" && mount -o remount,bind,ro "$0"', "Read-only file system"),
                ('cp "$0/mimeapps.list" "$0.keep" && mount -t tmpfs -o size=8k tmpfs "$0" && '
                 'cp "$0.keep" "$0/mimeapps.list" && (cat /dev/zero > "$0/fill" 2>/dev/null; true)', "No space left on device")]:
            failed = subprocess.run(["unshare", "-m", "sh", "-c", mount + ' && exec "$1" --set Alpha',
                                     elsewhere, TOLVANE], env=self.headless, capture_output=True, text=True,
                                    timeout=30)
            # A chroot or a container may grant no mount namespace; the cases above still ran there.
            if failed.stderr.startswith(("unshare:", "mount:")) or "unshare failed" in failed.stderr:
                print("no mount namespace here, so no read-only or full file system:", failed.stderr.strip(),
                      file=sys.stderr)
                break
            self.assertEqual(failed.returncode, 1, failed.stderr)
            self.assertIn("The desktop's list of default applications could not be written. Could not write "
                          "\u201c" + os.path.join(elsewhere, "mimeapps.list") + "\u201d: " + reason, failed.stderr)
            self.assertEqual(self.files(), before)

    def test_commands_leave_a_running_tray_instance_alone(self):
        self.desk.start_x()
        tray = self.desk.spawn([TOLVANE])
        self.assertTrue(wait_for(lambda: self.desk.windows("tolvane"), watch=[tray]), "the tray icon never appeared")
        shown = self.desk.windows("tolvane", visible=True)
        with_display = dict(self.desk.env)  # even where the tray's display is reachable
        for args in [("--list",), ("--get",), ("--set", "bravo")]:
            done = subprocess.run([TOLVANE, *args], env=with_display, capture_output=True, text=True, timeout=30)
            self.assertNotIn("already running", done.stdout + done.stderr)
            self.assertIn(done.returncode, (0, 1), done.stderr)
        self.assertEqual(self.desk.default_for("x-scheme-handler/https"), "bravo.desktop")
        self.assertEqual(self.desk.windows("tolvane", visible=True), shown, "no menu popped up")
        self.assertIsNone(tray.poll())
        self.assertEqual(self.desk.stray_processes(TOLVANE), [tray.pid])
        # It still answers a second start, so it still runs its event loop.
        again = subprocess.run([TOLVANE], env=with_display, capture_output=True, text=True, timeout=30)
        self.assertIn("already running", again.stdout + again.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
