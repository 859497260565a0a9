# SPDX-License-Identifier: GPL-3.0-or-later
"""A link lands in the browser profile chosen in Tolvane, with real Firefox ESR and Chromium.

Each browser makes its own files in a fresh home, then two profiles of its own; each profile gets a
cookie from a loopback server, and the cookie a later request carries tells which profile the link
that xdg-open handed on reached. Nothing leaves the machine: the loopback server is the only site."""
import configparser
import hashlib
import http.cookies
import http.server
import json
import os
import shutil
import signal
import subprocess
import sys
import threading
import time
import unittest
import urllib.parse

from desktop import Desktop, wait_for

TOLVANE = os.environ["TOLVANE_BIN"]
BROWSER_WAIT = 90  # seconds a browser may take to start and load a page on a loaded machine
CLOSE_WAIT = 30  # seconds a browser may take to save its state and leave when told to quit
DASH = " \u2014 "
LABELS = ("A", "B")


class Site:
    """The loopback site. /mark?p=L sets the persistent cookie who=L and moves on to /stored?p=L, whose
    request shows the browser kept it; /hold?p=L is a page titled "hold L"; every request is recorded
    with the cookie it carried."""

    def __init__(self):
        self.seen = []
        self.agents = {}  # path → the User-Agent that asked for it
        self.lock = threading.Lock()
        site = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                url = urllib.parse.urlsplit(self.path)
                label = urllib.parse.parse_qs(url.query).get("p", [""])[0]
                cookie = http.cookies.SimpleCookie(self.headers.get("Cookie", ""))
                with site.lock:
                    site.seen.append((url.path, label, cookie["who"].value if "who" in cookie else None))
                    site.agents[url.path] = self.headers.get("User-Agent", "")
                head = "<title>%s %s</title>" % (url.path.strip("/").split("/")[0], label)
                if url.path == "/mark":
                    head += '<meta http-equiv="refresh" content="0; url=/stored?p=%s">' % label
                body = ("<!DOCTYPE html><html><head>%s</head><body>%s</body></html>" % (head, url.path)).encode()
                self.send_response(200)
                if url.path == "/mark":
                    self.send_header("Set-Cookie", "who=%s; Max-Age=31536000; Path=/" % label)
                self.send_header("Content-Type", "text/html; charset=utf-8")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                try:
                    self.wfile.write(body)
                except (BrokenPipeError, ConnectionResetError):
                    pass  # a browser that quits drops what it no longer needs

            def log_message(self, *args):
                pass

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()
        self.base = "http://127.0.0.1:%d" % self.httpd.server_port

    def requests(self):
        with self.lock:
            return len(self.seen)

    def cookies_at(self, path, label="", since=0):
        """The `who` cookies that the requests for `path` (with ?p=`label`) carried, from request `since` on."""
        with self.lock:
            return [who for p, l, who in self.seen[since:] if p == path and l == label]

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


def processes_of(home):
    """What the test started, with each process's executable, parent and arguments: the processes below
    this one, and those whose HOME is the test's (helpers that left their parents). Chromium writes its
    process titles over its environment, so the second alone would miss it."""
    table = {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/stat" % pid) as f:
                parent = int(f.read().rsplit(")", 1)[1].split()[1])
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                args = [a.decode(errors="replace") for a in f.read().split(b"\0")[:-1]]
            with open("/proc/%s/environ" % pid, "rb") as f:
                ours = ("HOME=%s" % home).encode() in f.read().split(b"\0")
            table[int(pid)] = (os.path.realpath("/proc/%s/exe" % pid), parent, args, ours)
        except (OSError, IndexError, ValueError):
            continue

    def below_us(pid):
        while pid in table and pid != os.getpid():
            pid = table[pid][1]
        return pid == os.getpid()
    return {pid: row[:3] for pid, row in table.items() if pid != os.getpid() and (row[3] or below_us(pid))}


class Browser:
    """What the test needs to know of one browser; each family fills in its own files and arguments."""
    program = entry_id = ""
    quit_signal = signal.SIGTERM

    def __init__(self, desk):
        self.desk = desk
        self.binary = os.path.realpath(shutil.which(self.program))

    def command(self):
        return [self.program]

    def main_processes(self):
        """The browser's own processes in the test's home (not their helpers): pid → arguments."""
        procs = processes_of(self.desk.home)
        return {pid: args for pid, (exe, parent, args) in procs.items()
                if exe == self.binary and procs.get(parent, ("",))[0] != self.binary}

    def start(self, label, url):
        """The browser started directly on `url` in the profile `label`."""
        return self.launch(self.profile_arguments(label) + [url], label)

    def launch(self, arguments, log_name):
        with open(os.path.join(self.desk.home, "%s-%s.log" % (self.program, log_name)), "a") as log:
            return self.desk.spawn(self.command() + arguments, stdout=log, stderr=subprocess.STDOUT)

    def close(self):
        """Ends every instance as a user's quitting would, so what it keeps (cookies, its profile list)
        is saved."""
        for pid in self.main_processes():
            os.kill(pid, self.quit_signal)
        left = lambda: not [p for p, (exe, _, _) in processes_of(self.desk.home).items() if exe == self.binary]
        if not wait_for(left, CLOSE_WAIT):
            raise AssertionError("%s did not quit on %s" % (self.program, signal.Signals(self.quit_signal).name))

    def settled(self, label, since):
        return True

    def create_profiles(self):
        """Makes the profiles LABELS as the browser's own command line does; Chromium makes one when it
        is first started in it."""


class Firefox(Browser):
    program = "firefox-esr"
    entry_id = "firefox-esr.desktop"
    name = "Firefox ESR"

    # What a user who had clicked through the first start would have: no welcome tabs, no restored
    # session after SIGTERM, no question about the default browser.
    PREFERENCES = ('user_pref("browser.shell.checkDefaultBrowser", false);\n'
                   'user_pref("browser.aboutwelcome.enabled", false);\n'
                   'user_pref("browser.startup.homepage_override.mstone", "ignore");\n'
                   'user_pref("startup.homepage_welcome_url", "");\n'
                   'user_pref("datareporting.policy.dataSubmissionEnabled", false);\n'
                   'user_pref("browser.sessionstore.resume_from_crash", false);\n'
                   'user_pref("app.update.enabled", false);\n')

    def first_run(self, url):
        done = self.desk.run(["timeout", str(BROWSER_WAIT), self.program, "--headless", "--screenshot",
                              os.path.join(self.desk.home, "first.png"), url])
        assert done.returncode == 0, done.stdout + done.stderr

    def settled(self, label, since):
        # Firefox saves its session once it has started up; a quit before that can drop what the page
        # just stored.
        folder = os.path.join(self.profile_folder(), self.profiles()[label])
        recovery = os.path.join(folder, "sessionstore-backups", "recovery.jsonlz4")
        return os.path.exists(recovery) and os.path.getmtime(recovery) >= since

    def profile_folder(self):
        for folder in (os.path.join(self.desk.home, ".mozilla", "firefox"),
                       os.path.join(self.desk.config, "mozilla", "firefox")):
            if os.path.exists(os.path.join(folder, "profiles.ini")):
                return folder
        raise AssertionError("Firefox wrote no profiles.ini")

    def profiles(self):
        ini = configparser.ConfigParser(interpolation=None)
        ini.optionxform = str
        ini.read(os.path.join(self.profile_folder(), "profiles.ini"))
        return {ini[s]["Name"]: ini[s]["Path"] for s in ini.sections() if s.startswith("Profile")}

    def create_profiles(self):
        for label in LABELS:
            done = self.desk.run([self.program, "--headless", "-CreateProfile", label])
            assert done.returncode == 0, done.stdout + done.stderr
            folder = os.path.join(self.profile_folder(), self.profiles()[label])
            with open(os.path.join(folder, "user.js"), "w") as f:
                f.write(self.PREFERENCES)

    def profile_names(self):
        return {label: label for label in LABELS}

    def holder(self, label):
        """The processes of the instance that runs profile `label`."""
        return sorted(pid for pid, args in self.main_processes().items()
                      if "-P" in args and args[args.index("-P") + 1:][:1] == [label])

    def profile_arguments(self, label):
        return ["-P", label]


class Chromium(Browser):
    program = "chromium"
    entry_id = "chromium.desktop"
    name = "Chromium Web Browser"
    # SIGTERM is a session's end to Chromium: it leaves without writing a new profile into Local State.
    quit_signal = signal.SIGINT
    FLAGS = ["--no-first-run", "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--disable-gpu", "--password-store=basic"]

    def __init__(self, desk):
        super().__init__(desk)
        self.binary = "/usr/lib/chromium/chromium"  # what Debian's launcher script runs in its place
        # Chromium refuses to run as root without --no-sandbox, and Debian's launcher overwrites
        # CHROMIUM_FLAGS from the environment: the system's entry, in the user's folder, runs a program
        # named like the launcher that adds the flags. Everything else is the installed Chromium's.
        wrapper = desk.write("bin/chromium", "#!/bin/sh\nexec /usr/bin/chromium %s%s \"$@\"\n"
                             % ("--no-sandbox " if os.geteuid() == 0 else "", " ".join(self.FLAGS)))
        os.chmod(wrapper, 0o755)
        with open("/usr/share/applications/chromium.desktop", encoding="utf-8") as f:
            text = f.read()
        text = "\n".join("Exec=%s %s" % (wrapper, l.split(" ", 1)[1]) if l.startswith("Exec=") else l
                         for l in text.splitlines()) + "\n"
        desk.write(os.path.join(desk.apps, self.entry_id), text)
        self.wrapper = wrapper

    def command(self):
        return [self.wrapper]

    def local_state(self):
        path = os.path.join(self.desk.config, "chromium", "Local State")
        if not os.path.exists(path):
            return {}
        with open(path, encoding="utf-8") as f:
            return json.load(f).get("profile", {}).get("info_cache", {})

    def first_run(self, url):
        self.launch([url], "first")

    def profile_arguments(self, label):
        return ["--profile-directory=" + label]

    def profile_names(self):
        return {label: self.local_state()[label]["name"] for label in LABELS}

    def holder(self, label):
        """The process that serves every profile; a later start hands its command line over to it."""
        lock = os.readlink(os.path.join(self.desk.config, "chromium", "SingletonLock"))
        return [int(lock.rsplit("-", 1)[1])]


class BrowserProfiles(unittest.TestCase):
    def setUp(self):
        self.desk = Desktop()
        self.addCleanup(self.desk.close)
        self.addCleanup(self.end_everything)
        self.site = Site()
        self.addCleanup(self.site.close)
        self.desk.env["XDG_DATA_DIRS"] += ":/usr/share"
        self.desk.start_x(tray=False)
        self.desk.env["DBUS_SESSION_BUS_ADDRESS"], _ = self.desk.start_bus("bus")

    def end_everything(self):
        """Nothing the test started outlives it: browsers, their helpers, the openers that wait on them."""
        for sig, wait in ((signal.SIGTERM, 10), (signal.SIGKILL, 5)):
            for pid in processes_of(self.desk.home):
                try:
                    os.kill(pid, sig)
                except OSError:
                    pass
            if wait_for(lambda: not processes_of(self.desk.home), wait):
                return

    @unittest.skipUnless(shutil.which("firefox-esr"), "firefox-esr is not installed")
    def test_firefox_profiles(self):
        self.check_profiles(Firefox(self.desk))

    @unittest.skipUnless(shutil.which("chromium"), "chromium is not installed")
    def test_chromium_profiles(self):
        self.check_profiles(Chromium(self.desk))

    def check_profiles(self, browser):
        # A fresh home: the files the browser makes on its first start name no profile a user made.
        since = self.site.requests()
        browser.first_run(self.site.base + "/first")
        self.assertTrue(wait_for(lambda: self.site.cookies_at("/first", "", since), BROWSER_WAIT))
        browser.close()
        self.assertEqual([i for i, _ in self.rows_of(browser)], [browser.entry_id])

        browser.create_profiles()
        for label in LABELS:
            self.give_cookie(browser, label)
        names = browser.profile_names()

        for label in LABELS:
            with self.subTest(profile=label):
                try:
                    self.choose(browser, names[label])
                    self.assertEqual(self.open_link(browser), label)
                finally:
                    browser.close()

        # The other profile has a window open: the link still goes to the chosen one, and the other stays.
        for label, other in (LABELS, LABELS[::-1]):
            with self.subTest(profile=label, open=other):
                try:
                    self.start_and_wait(browser, other, "/hold")
                    held = browser.holder(other)
                    self.choose(browser, names[label])
                    self.assertEqual(self.open_link(browser), label)
                    self.assertEqual(browser.holder(other), held, "the other profile's browser still runs")
                    self.assertTrue(self.desk.xdotool("search", "--name", "^hold %s" % other).stdout.split(),
                                    "the other profile's window is still open")
                finally:
                    browser.close()

    @unittest.skipUnless(shutil.which("firefox-esr"), "firefox-esr is not installed")
    def test_firefox_profile_is_its_folder(self):
        """A profile named like an option is started by its folder, with a window; renamed, it keeps its ID."""
        browser = Firefox(self.desk)
        folder = os.path.join(self.desk.home, ".mozilla", "firefox")
        odd = os.path.join(folder, "odd.profile")
        for path in (odd, os.path.join(folder, "other.profile")):
            self.desk.write(os.path.join(path, "user.js"), browser.PREFERENCES)

        def name_profile(name):
            self.desk.write(os.path.join(folder, "profiles.ini"),
                            "[Profile0]\nName=%s\nIsRelative=1\nPath=odd.profile\n\n"
                            "[Profile1]\nName=Other\nIsRelative=1\nPath=other.profile\n\n"
                            "[General]\nStartWithLastProfile=1\nVersion=2\n" % name)

        def opened_in_its_folder(opener):
            """Opens a link in the profile: a window shows it, and the browser runs on that folder."""
            link = self.site.base + "/check/" + os.urandom(6).hex()
            self.desk.spawn(opener + [link])
            self.assertTrue(wait_for(lambda: self.site.cookies_at(urllib.parse.urlsplit(link).path), BROWSER_WAIT),
                            "the link was not opened")
            self.assertTrue(wait_for(lambda: self.desk.xdotool("search", "--onlyvisible", "--name", "^check").stdout,
                                     BROWSER_WAIT), "no window shows the link")
            running = list(browser.main_processes().values())
            self.assertEqual(len(running), 1, running)
            self.assertIn(odd, running[0], "the profile's folder, whole")
            self.assertNotIn("-headless", running[0])
            self.assertTrue(os.path.lexists(os.path.join(odd, "lock")), "the profile's folder is in use")
            browser.close()

        name_profile("-headless")
        rows = dict((name, i) for i, name in self.rows_of(browser))
        chosen = rows[browser.name + DASH + "-headless"]
        done = self.desk.run([TOLVANE, "--set", chosen])
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        opened_in_its_folder(["xdg-open"])

        # Rules made before a profile was its folder name it by an ID made from its name.
        former = "tolvane-profile-%s.desktop" % hashlib.sha1(b"firefox-esr.desktop\n-headless").hexdigest()[:16]
        done = self.desk.run([TOLVANE, "--route", "add", "127.0.0.1:%d/check/*" % self.site.httpd.server_port,
                              chosen])
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        rules = os.path.join(self.desk.config, "tolvane", "links.rules")
        with open(rules, encoding="utf-8") as f:
            text = f.read()
        self.assertIn(chosen, text)
        self.desk.write(rules, text.replace(chosen, former))
        opened_in_its_folder([TOLVANE, "--open"])

        name_profile("Renamed")
        rows = dict((name, i) for i, name in self.rows_of(browser))
        self.assertEqual(rows.get(browser.name + DASH + "Renamed"), chosen, rows)
        opened_in_its_folder(["xdg-open"])

    @unittest.skipUnless(shutil.which("firefox-esr") and shutil.which("chromium"), "both browsers are needed")
    def test_links_by_rules(self):
        """A link a rule names opens in the Chromium profile the rule names; the rest in Firefox ESR, the
        browser chosen."""
        chromium, firefox = Chromium(self.desk), Firefox(self.desk)
        chromium.first_run(self.site.base + "/first")
        self.assertTrue(wait_for(lambda: self.site.cookies_at("/first"), BROWSER_WAIT))
        chromium.close()
        chromium.create_profiles()
        for label in LABELS:
            self.give_cookie(chromium, label)
        firefox.first_run(self.site.base + "/firefox-first")
        profile = self.rows_of(chromium)
        shown = chromium.name + DASH + chromium.profile_names()["B"]
        target = [i for i, name in profile if name == shown]
        self.assertEqual(len(target), 1, profile)
        pattern = "127.0.0.1:%d/ruled/*" % self.site.httpd.server_port
        for command in (["--set", "firefox-esr"], ["--route", "add", pattern, target[0]], ["--route", "on"]):
            done = self.desk.run([TOLVANE] + command)
            self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        try:
            ruled = self.open_link(chromium, "/ruled/")
            self.assertEqual(ruled, "B")
            self.assertIn("Chrome/", self.site.agents[self.last_link])
            self.open_link(firefox, "/elsewhere/")
            self.assertIn("Firefox/", self.site.agents[self.last_link])
        finally:
            chromium.close()
            firefox.close()

    def give_cookie(self, browser, label):
        """The profile `label` keeps the cookie who=`label`: set in one run of the browser, sent in the next."""
        for _ in range(3):
            started = time.time()
            self.start_and_wait(browser, label, "/mark", "/stored")
            self.assertTrue(wait_for(lambda: browser.settled(label, started), BROWSER_WAIT))
            browser.close()
            since = self.site.requests()
            browser.start(label, self.site.base + "/kept?p=" + label)
            kept = wait_for(lambda: self.site.cookies_at("/kept", label, since), BROWSER_WAIT)
            browser.close()
            if kept == [label]:
                return
            print("%s lost profile %s's cookie on quitting; again" % (browser.program, label), file=sys.stderr)
        self.fail("%s loses profile %s's cookie whenever it quits" % (browser.program, label))

    def start_and_wait(self, browser, label, path, then=None):
        """Starts the browser in profile `label` on `path` and waits until it asked for `then` (or `path`)
        with that profile's cookie."""
        since = self.site.requests()
        browser.start(label, self.site.base + path + "?p=" + label)
        seen = wait_for(lambda: self.site.cookies_at(then or path, label, since), BROWSER_WAIT)
        self.assertEqual(seen and seen[0], label,
                         "%s %s?p=%s: %s" % (browser.program, then or path, label, self.site.seen[since:]))

    def rows_of(self, browser):
        """`tolvane --list`'s rows for `browser`, its own and its profiles': (ID, shown name)."""
        listed = self.desk.run([TOLVANE, "--list"])
        self.assertEqual(listed.returncode, 0, listed.stderr)
        rows = [line.split("\t") for line in listed.stdout.splitlines()]
        return [(r[0], r[1]) for r in rows
                if len(r) > 1 and (r[0] == browser.entry_id or r[1].startswith(browser.name + DASH))]

    def choose(self, browser, profile_name):
        """Makes the profile the default browser from the command line, by the row that shows its name."""
        shown = browser.name + DASH + profile_name
        rows = self.rows_of(browser)
        ids = [i for i, name in rows if name == shown]
        self.assertEqual(len(ids), 1, "one row shows %r: %s" % (shown, rows))
        chosen = self.desk.run([TOLVANE, "--set", ids[0]])
        self.assertEqual(chosen.returncode, 0, chosen.stdout + chosen.stderr)
        self.assertEqual(self.desk.run([TOLVANE, "--get"]).stdout.strip(), ids[0])

    def open_link(self, browser, folder="/check/"):
        """Opens a new link as a user's click would and says which profile's cookie its request carried."""
        path = self.last_link = folder + os.urandom(6).hex()
        with open(os.path.join(self.desk.home, "xdg-open.log"), "a") as log:
            self.desk.spawn(["xdg-open", self.site.base + path], stdout=log, stderr=subprocess.STDOUT)
        seen = wait_for(lambda: self.site.cookies_at(path), BROWSER_WAIT)
        self.assertTrue(seen, "%s never asked for the link" % browser.program)
        return seen[0]


if __name__ == "__main__":
    unittest.main(verbosity=2)
