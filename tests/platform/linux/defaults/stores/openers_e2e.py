# SPDX-License-Identifier: GPL-3.0-or-later
"""Every link opener of the desktops, run for real, follows `tolvane --set`.

The browsers are recorders: each one's program writes down what it was asked to open, so nothing
touches the network. Each case is a fresh home; the switch runs without a display or bus, as from
a script, sometimes outside the desktop whose openers are asked afterwards."""
import fnmatch
import os
import shutil
import subprocess
import sys
import time
import unittest

from desktop import Desktop, wait_for

TOLVANE = os.environ["TOLVANE_BIN"]
LOADED_MACHINE_WAIT = 30  # seconds an opener may take to start the browser on a busy machine

OLD_LIST = ("[Default Applications]\nx-scheme-handler/http=old.desktop;\nx-scheme-handler/https=old.desktop;\n"
            "image/png=viewer.desktop;\n")

# The KDE tools installed are Plasma 5's (Debian 12) or Plasma 6's (Debian 13); the session says which,
# and xdg-utils picks its helpers by it. Plasma 6 has no service query tool; its openers are still checked.
PLASMA = 5 if shutil.which("ktraderclient5") else 6

SESSIONS = {
    None: {},
    "GNOME": {"XDG_CURRENT_DESKTOP": "GNOME"},
    "KDE": {"XDG_CURRENT_DESKTOP": "KDE", "KDE_SESSION_VERSION": str(PLASMA), "KDE_FULL_SESSION": "true"},
    "XFCE": {"XDG_CURRENT_DESKTOP": "XFCE"},
}

# (case, desktop the switch runs in, desktop whose openers are asked, files before the switch)
CASES = [
    ("no desktop", None, None, {}),
    ("GNOME", "GNOME", "GNOME", {".config/mimeapps.list": OLD_LIST}),
    ("GNOME's own list, switched from a script", None, "GNOME", {".config/gnome-mimeapps.list": OLD_LIST}),
    ("KDE", "KDE", "KDE", {}),
    ("KDE's own list, switched from a script", None, "KDE", {".config/kde-mimeapps.list": OLD_LIST}),
    ("KDE browser set system-wide", "KDE", "KDE",
     {"etc/xdg/kdeglobals": "[General]\nBrowserApplication=old.desktop\n"}),
    ("XFCE browser set system-wide", "XFCE", "XFCE",
     {"etc/xdg/xfce4/helpers.rc": "WebBrowser=old\nFileManager=thunar\n"}),
    ("XFCE's setting, switched from a script", None, "XFCE", {"etc/xdg/xfce4/helpers.rc": "WebBrowser=old\n"}),
    ("XFCE with a looping helper left from an earlier switch", "XFCE", "XFCE", {
        ".config/xfce4/helpers.rc": "WebBrowser=xfce4-web-browser\n",
        ".local/share/xfce4/helpers/xfce4-web-browser.desktop":
            "[Desktop Entry]\nVersion=1.0\nType=X-XFCE-Helper\nName=Web Browser\nX-XFCE-Category=WebBrowser\n"
            "X-XFCE-Commands=exo-open --launch WebBrowser\n"
            "X-XFCE-CommandsWithParameter=exo-open --launch WebBrowser \"%s\"\n"}),
]

# What XFCE's Default Applications dialog leaves after choosing Chromium: the lists name exo's "Web
# Browser" entry, which runs the helper that helpers.rc names (xfce4-helpers' own chromium.desktop).
XFCE_DIALOG = {
    ".config/mimeapps.list": "[Default Applications]\nx-scheme-handler/http=xfce4-web-browser.desktop\n"
                             "x-scheme-handler/https=xfce4-web-browser.desktop\n"
                             "[Added Associations]\nx-scheme-handler/http=xfce4-web-browser.desktop;\n"
                             "x-scheme-handler/https=xfce4-web-browser.desktop;\n",
    ".config/xfce4/helpers.rc": "WebBrowser=chromium\n",
}
# Two profiles made in the recording Firefox ESR; choosing the second must bring its folder to the
# browser's command line intact through every opener, whatever its name.
PROFILE = 'Client "A" $HOME;%u é'
PROFILES_INI = ("[Profile1]\nName=Work\nIsRelative=1\nPath=a1.Work\n\n[Profile0]\nName=%s\nIsRelative=1\n"
                "Path=b2.client\nDefault=1\n\n[General]\nStartWithLastProfile=1\nVersion=2\n" % PROFILE)

# Programs that hand a link to the preferred browser: a helper running one of them runs itself.
FORWARDERS = {"exo-open", "xdg-open", "gio", "kde-open", "kioclient", "sensible-browser", "x-www-browser"}


class Openers(unittest.TestCase):
    def test_every_opener_follows_the_switch(self):
        missing = [p for p in ("xdg-settings", "gio", "exo-open", "xfce4-mime-helper", "kde-open", "kioclient",
                               "kreadconfig%d" % PLASMA, "Xvfb") if not shutil.which(p)]
        self.assertEqual(missing, [], "scripts/bootstrap.sh installs them")
        for case, setter, session, seeds in CASES:
            with self.subTest(case):
                self.check(setter, session, seeds)

    def test_xfce_web_browser_entry_stands_for_the_browser_it_runs(self):
        """exo's "Web Browser" entry runs XFCE's preferred browser: Tolvane names that browser, never
        lists the entry, and never makes it the browser, which would make every link start it again."""
        self.assertTrue(os.path.exists("/usr/share/applications/xfce4-web-browser.desktop"), "exo-utils")
        self.assertTrue(os.path.exists("/usr/share/xfce4/helpers/chromium.desktop"), "xfce4-helpers")
        desk, script = self.desktop("XFCE", "XFCE", XFCE_DIALOG)
        listed = self.run_in(desk, [TOLVANE, "--list"]).stdout
        seen = {
            "listed": "xfce4-web-browser" in listed or "Web Browser" in listed,
            "xdg-settings": self.run_in(desk, ["xdg-settings", "get", "default-web-browser"]).stdout.strip(),
            "tolvane --get": self.run_in(desk, [TOLVANE, "--get"]).stdout.strip(),
        }
        chosen = subprocess.run([TOLVANE, "--set", "xfce4-web-browser.desktop"], env=script, capture_output=True,
                                text=True, timeout=60)
        seen.update({
            "chosen": chosen.returncode == 0,
            "files kept": {path: self.read(desk, path) for path in XFCE_DIALOG} == XFCE_DIALOG,
            "looping helpers": self.looping_helpers(desk),
        })
        self.assertEqual(seen, {"listed": False, "xdg-settings": "chromium.desktop",
                                "tolvane --get": "chromium.desktop", "chosen": False, "files kept": True,
                                "looping helpers": []}, chosen.stderr)
        # Only now that nothing loops may an opener run: a loop would outlive the test.
        self.assertEqual(self.opened(desk, "XFCE"), self.expected_openings("XFCE", "chromium.desktop"))
        self.switch_and_check(desk, script, "XFCE", "firefox-esr.desktop")

    def test_links_by_rules_through_every_opener(self):
        """With routing on, every opener hands each link to Tolvane, which sends it to the browser of its
        rule, else to the chosen one, unchanged and with the opener's activation token; off, the chosen
        browser has the links again."""
        for case, setter, session, seeds in CASES[:1] + CASES[1:2] + CASES[3:4] + CASES[6:7]:
            with self.subTest(case):
                desk, script = self.desktop(setter, session, seeds)
                # Routing turned on by a copy installed under a folder with a space: the handler runs that.
                program = self.installed_copy(desk)
                for command in ([TOLVANE, "--set", "firefox-esr"], [TOLVANE, "--route", "add", "example.com", "chromium"],
                                [program, "--route", "on"]):
                    done = subprocess.run(command, env=script, capture_output=True, text=True, timeout=60)
                    self.assertEqual(done.returncode, 0, done.stderr)
                self.assertEqual(self.looping_helpers(desk), [])
                self.assertEqual(self.run_in(desk, [TOLVANE, "--get"]).stdout.strip(), "firefox-esr.desktop")
                desk.env["XDG_ACTIVATION_TOKEN"] = "token-from-the-click"
                ruled = self.opened(desk, session, "https://www.example.com/{n}-{r}?q=$x;'a'", True)
                other = self.opened(desk, session, "https://example.com.evil.net/{n}-{r}", True)
                want = {name: ("chromium", "token-from-the-click") for name in self.openers(session)}
                self.assertEqual(ruled, want)
                self.assertEqual(other, {name: ("firefox-esr", "token-from-the-click") for name in want})
                # Handed to Tolvane directly (KDE's openers decode %-escapes first), a link arrives as it was;
                # also alone, as exo 4.20 hands it over, keeping only the handler's program.
                odd = "https://sub.example.com/a b$`x`;%%20\u00e9'\"?%s" % os.urandom(4).hex()
                self.run_in(desk, [TOLVANE, odd])
                self.assertTrue(wait_for(lambda: odd in self.read(desk, self.record), LOADED_MACHINE_WAIT), odd)
                # A rule written by hand for Tolvane's own handler or a forwarder sends the link to the chosen
                # browser, once, instead of starting the handler again and again.
                # So does an unmarked copy of the handler's entry, which is no browser to list or choose either.
                with open(os.path.join(desk.config, "tolvane", "links.rules"), "a") as rules:
                    rules.write("loop.example app.tolvane.Tolvane.Router.desktop\nloop2.example xdg-open.desktop\n"
                                "loop3.example copy.desktop\n")
                desk.write(os.path.join(desk.apps, "xdg-open.desktop"),
                           "[Desktop Entry]\nType=Application\nName=Opener\nExec=xdg-open %u\n")
                desk.write(os.path.join(desk.apps, "copy.desktop"),
                           "[Desktop Entry]\nType=Application\nName=Copy\nExec=%s --open %%U\n"
                           "MimeType=x-scheme-handler/https;\n" % TOLVANE)
                self.assertNotIn("copy.desktop", self.run_in(desk, [TOLVANE, "--list"]).stdout)
                self.assertNotEqual(self.run_in(desk, [TOLVANE, "--set", "copy.desktop"]).returncode, 0)
                for n, host in enumerate(("loop.example", "loop2.example", "loop3.example")):
                    link = "https://%s/%d-%s" % (host, n, os.urandom(4).hex())
                    self.run_in(desk, [TOLVANE, "--open", link])
                    self.assertTrue(wait_for(lambda: self.read(desk, self.record).count(link) == 1,
                                             LOADED_MACHINE_WAIT), link)
                    self.assertIn("firefox-esr\t" + link, self.read(desk, self.record))
                if session is None:
                    self.check_bad_input(desk)
                # The program goes (removed, or moved by an upgrade): links still open, in the chosen browser.
                folder = os.path.dirname(program)
                os.rename(folder, folder + " gone")
                self.assertEqual(self.opened(desk, session), self.expected_openings(session, "firefox-esr.desktop"))
                done = subprocess.run([TOLVANE, "--route", "off"], env=script, capture_output=True, text=True,
                                      timeout=60)
                self.assertEqual(done.returncode, 0, done.stderr)
                self.assertEqual(self.answers(desk, session), self.expected_answers(session, "firefox-esr.desktop"))
                self.assertEqual(self.opened(desk, session), self.expected_openings(session, "firefox-esr.desktop"))

    def installed_copy(self, desk):
        """The tolvane command and the module it loads, copied under a folder whose name has a space."""
        built = os.path.dirname(TOLVANE)
        folder = os.path.join(desk.home, "my programs")
        os.makedirs(folder)
        for name in os.listdir(built):
            if name == "tolvane" or name.startswith("tolvane-command"):
                shutil.copy2(os.path.join(built, name), os.path.join(folder, name))
        return os.path.join(folder, "tolvane")

    def check_bad_input(self, desk):
        """No link is dropped: a rules file that does not read sends every link to the chosen browser (and
        `--route list` says why), no link starts the chosen browser, a link that is not a web link is refused."""
        rules = os.path.join(desk.config, "tolvane", "links.rules")
        with open(rules, "a") as f:
            f.write("this line is no rule at all\n")
        listed = self.run_in(desk, [TOLVANE, "--route", "list"])
        self.assertEqual((listed.returncode, listed.stdout), (1, ""))
        self.assertIn("line", listed.stderr)
        link = "https://www.example.com/broken-%s" % os.urandom(4).hex()
        self.assertEqual(self.run_in(desk, [TOLVANE, "--open", link]).returncode, 0)
        self.assertTrue(wait_for(lambda: "firefox-esr\t" + link in self.read(desk, self.record), LOADED_MACHINE_WAIT))
        before = self.read(desk, self.record).count("firefox-esr\t\t")
        self.assertEqual(self.run_in(desk, [TOLVANE, "--open"]).returncode, 0)
        self.assertTrue(wait_for(lambda: self.read(desk, self.record).count("firefox-esr\t\t") == before + 1,
                                 LOADED_MACHINE_WAIT))
        refused = self.run_in(desk, [TOLVANE, "--open", "mailto:someone@example.org"])
        self.assertEqual(refused.returncode, 2, refused.stderr)

    def undocumented(self, desk, since):
        """Files the switch wrote in the user's folders that the manual's FILES section does not name."""
        with open(os.path.join(os.environ["TOLVANE_SOURCE_DIR"], "resources/man/tolvane.h2m")) as f:
            section = f.read().split("[FILES]")[1].split("\n[")[0].replace("\\-", "-")
        # DESKTOP stands for any desktop's name; a folder names everything in it.
        named = [l.split()[1].replace("DESKTOP", "*") for l in section.splitlines() if l.startswith((".I ", ".IR "))]
        named = [n + "*" if n.endswith("/") else n for n in named]
        found = []
        for folder, variable in ((desk.config, "$XDG_CONFIG_HOME"), (desk.data, "$XDG_DATA_HOME")):
            for root, _, names in os.walk(folder):
                for name in names:
                    path = os.path.join(root, name)
                    if os.path.getmtime(path) < since or path.startswith(os.path.join(desk.config, "tolvane")):
                        continue
                    shown = variable + path[len(folder):]
                    if not any(fnmatch.fnmatchcase(shown, n) for n in named):
                        found.append(shown)
        return found

    def read(self, desk, relative):
        with open(os.path.join(desk.home, relative)) as f:
            return f.read()

    def looping_helpers(self, desk):
        """The user's XFCE web browser helpers whose command hands the link back to the preferred browser."""
        folder = os.path.join(desk.data, "xfce4", "helpers")
        found = []
        for name in sorted(os.listdir(folder)) if os.path.isdir(folder) else []:
            text = self.read(desk, os.path.join(folder, name))
            commands = [l.split("=", 1)[1] for l in text.splitlines() if l.startswith("X-XFCE-Commands")]
            if any(os.path.basename(c.split()[0]) in FORWARDERS for c in commands if c.split()):
                found.append(name)
        return found

    def check(self, setter, session, seeds):
        desk, script = self.desktop(setter, session, seeds)
        for desktop_id in ("chromium.desktop", "firefox-esr.desktop"):
            self.switch_and_check(desk, script, session, desktop_id)
        # A profile is chosen as a browser is, and its entry goes with the next switch.
        listed = [l.split("\t") for l in self.run_in(desk, [TOLVANE, "--list"]).stdout.splitlines()]
        profile = next((l[0] for l in listed if l[1] == "Firefox-Esr \u2014 " + PROFILE), None)
        self.assertTrue(profile, listed)
        self.switch_and_check(desk, script, session, profile)
        self.switch_and_check(desk, script, session, "chromium.desktop")
        self.assertFalse(os.path.exists(os.path.join(desk.apps, profile)))
        if seeds.get(".config/gnome-mimeapps.list") or seeds.get(".config/kde-mimeapps.list"):
            with open(os.path.join(desk.config, (session or "").lower() + "-mimeapps.list")) as f:
                self.assertIn("image/png=viewer.desktop;\n", f.read(), "other lines are kept")

    def switch_and_check(self, desk, script, session, desktop_id):
        started = time.time()
        done = subprocess.run([TOLVANE, "--set", desktop_id], env=script, capture_output=True, text=True,
                              timeout=60)
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(self.undocumented(desk, started), [])
        # Checked before any opener runs: a looping helper would leave processes behind.
        self.assertEqual(self.looping_helpers(desk), [])
        self.assertEqual(self.answers(desk, session), self.expected_answers(session, desktop_id))
        self.assertEqual(self.opened(desk, session), self.expected_openings(session, desktop_id))

    def desktop(self, setter, session, seeds):
        """A fresh home with the recording browsers and `seeds`; the environment of the desktop whose
        openers are asked, and that of the script that switches."""
        desk = Desktop()
        self.addCleanup(desk.close)
        self.record = desk.write("record", "")
        self.home = desk.home
        # Python prefers a browser it knows by the name xdg-settings gives: "chromium" is one such.
        for desktop_id, program in [("chromium", "chromium"), ("firefox-esr", "firefox-esr"), ("old", "old")]:
            path = desk.write("bin/" + program, '#!/bin/sh\nprintf "%%s\\t%%s\\t%%s\\n" "%s" "$*" '
                              '"$XDG_ACTIVATION_TOKEN" >> "%s"\n' % (program, self.record))
            os.chmod(path, 0o755)
            desk.write(os.path.join(desk.apps, desktop_id + ".desktop"),
                       "[Desktop Entry]\nType=Application\nName=%s\nExec=%s %%U\n"
                       "MimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;\n" % (program.title(), path))
        # The system's own XFCE helper for the old browser, as xfce4-helpers installs them.
        desk.write("usr/share/xfce4/helpers/old.desktop",
                   "[Desktop Entry]\nType=X-XFCE-Helper\nName=Old\nX-XFCE-Category=WebBrowser\n"
                   "X-XFCE-Commands=%s\nX-XFCE-CommandsWithParameter=%s \"%%s\"\n"
                   % ((os.path.join(desk.home, "bin/old"),) * 2))
        # Without it Plasma 6's kioclient knows no application and fetches the page to learn its type.
        desk.write_kde_menu("etc/xdg")
        desk.write(".mozilla/firefox/profiles.ini", PROFILES_INI)
        for relative, text in seeds.items():
            desk.write(relative, text)
        # The system's data folder too: the MIME database and XFCE's helpers live there.
        desk.env["XDG_DATA_DIRS"] += ":/usr/share"
        desk.env["PATH"] = os.path.join(desk.home, "bin") + ":/usr/bin:/bin"
        for name in ("KDE_SESSION_VERSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID", "DESKTOP_SESSION",
                     "BROWSER", "QT_QPA_PLATFORM"):
            desk.env.pop(name, None)
        desk.env.pop("XDG_CURRENT_DESKTOP")

        script = dict(desk.env, **SESSIONS[setter])
        desk.start_x(tray=False)
        desk.env["DBUS_SESSION_BUS_ADDRESS"], _ = desk.start_bus("bus")
        desk.env.update(SESSIONS[session])
        return desk, script

    def run_in(self, desk, args):
        return subprocess.run(args, env=desk.env, capture_output=True, text=True, timeout=60)

    def answers(self, desk, session):
        """What the desktop's tools say the default browser is."""
        said = {
            "xdg-settings": self.run_in(desk, ["xdg-settings", "get", "default-web-browser"]).stdout.strip(),
            "xdg-mime": self.run_in(desk, ["xdg-mime", "query", "default", "x-scheme-handler/https"]).stdout.strip(),
            "gio mime": self.run_in(desk, ["gio", "mime", "x-scheme-handler/https"]).stdout.split("\n")[0]
                                                                                    .split(": ")[-1],
            "tolvane --get": self.run_in(desk, [TOLVANE, "--get"]).stdout.strip(),
        }
        if session == "KDE" and PLASMA == 5:
            listed = self.run_in(desk, ["ktraderclient5", "--mimetype", "x-scheme-handler/https"]).stdout
            paths = [l.split("'")[1] for l in listed.splitlines() if l.startswith("DesktopEntryPath")]
            said["ktraderclient5"] = os.path.basename(paths[0]) if paths else ""
        return said

    def expected_answers(self, session, desktop_id):
        tools = ["xdg-settings", "xdg-mime", "gio mime", "tolvane --get"]
        tools += ["ktraderclient5"] if session == "KDE" and PLASMA == 5 else []
        return {tool: desktop_id for tool in tools}

    def openers(self, session):
        python = ["python3", "-c", "import sys, webbrowser; sys.exit(0 if webbrowser.open(sys.argv[1]) else 1)"]
        found = {"xdg-open": ["xdg-open"], "gio open": ["gio", "open"], "Python webbrowser": python}
        if session == "KDE":
            found.update({"kde-open": ["kde-open"], "kioclient exec": ["kioclient", "exec"]})
        if session == "XFCE":
            found["exo-open"] = ["exo-open"]
        return found

    def opened(self, desk, session, pattern="https://example.org/{n}-{r}", with_token=False):
        """Which browser each opener started, by the line its recorder wrote; with `with_token`, also the
        activation token it had. The link must reach the browser unchanged."""
        result = {}
        for n, (name, command) in enumerate(self.openers(session).items()):
            url = pattern.format(n=n, r=os.urandom(4).hex())
            done = self.run_in(desk, command + [url])

            def recorded():
                """The program, and the words it had before the link."""
                with open(self.record) as f:
                    line = next((l.rstrip("\n") for l in f if url in l), None)
                if line is None:
                    return None
                program, words, token = line.split("\t")
                if with_token:
                    return program, token
                before = words.split(url)[0].strip()
                return program + " " + before if before else program
            # A failed opener starts nothing; one that succeeded may start the browser a moment later.
            result[name] = wait_for(recorded, LOADED_MACHINE_WAIT if done.returncode == 0 else 1) or \
                "nothing (exit %d: %s)" % (done.returncode, done.stderr.strip()[-200:])
        return result

    def expected_openings(self, session, desktop_id):
        if desktop_id.startswith("tolvane-profile-"):
            folder = os.path.join(self.home, ".mozilla", "firefox", "b2.client")
            return {name: "firefox-esr --profile " + folder for name in self.openers(session)}
        return {name: desktop_id[:-len(".desktop")] for name in self.openers(session)}


if __name__ == "__main__":
    unittest.main(verbosity=2)
