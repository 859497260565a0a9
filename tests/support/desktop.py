# SPDX-License-Identifier: GPL-3.0-or-later
"""A throwaway desktop for end-to-end runs: private HOME and XDG folders, Xvfb, a tray host."""
import os
import shutil
import signal
import subprocess
import tempfile
import time


# How long a real service (X server, bus, portal, Tolvane itself) may take to come up or to answer on
# a loaded machine. A start that fails shows sooner: pass the process as `watch`.
SERVICE_TIMEOUT = 60.0


KDE_MENU = ('<!DOCTYPE Menu PUBLIC "-//freedesktop//DTD Menu 1.0//EN"'
            ' "http://www.freedesktop.org/standards/menu-spec/menu-1.0.dtd">\n'
            "<Menu><Name>Applications</Name><DefaultAppDirs/><Include><All/></Include></Menu>\n")


class ProcessExited(AssertionError):
    """A process that a wait depended on ended before the awaited thing happened."""


def wait_for(predicate, timeout=SERVICE_TIMEOUT, interval=0.05, watch=()):
    """Polls `predicate` until it gives a true value and returns that value; None after `timeout` seconds.
    When a process in `watch` ends first, the wait fails at once with ProcessExited and its status."""
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        for proc in watch:
            if proc.poll() is not None:
                # It may have done its part on its way out.
                value = predicate()
                if value:
                    return value
                raise ProcessExited("%s exited with status %d" % (os.path.basename(str(proc.args[0])),
                                                                   proc.returncode))
        if time.monotonic() >= end:
            return None
        time.sleep(interval)


class Desktop:
    def __init__(self):
        self.home = tempfile.mkdtemp(prefix="tolvane-e2e-")
        self.config = os.path.join(self.home, ".config")
        self.data = os.path.join(self.home, ".local", "share")
        self.apps = os.path.join(self.data, "applications")
        os.makedirs(self.apps)
        os.makedirs(os.path.join(self.config, "tolvane"))
        self.display = None
        self.procs = []
        self.env = dict(os.environ)
        self.env.update({
            "HOME": self.home,
            "XDG_CONFIG_HOME": self.config,
            "XDG_DATA_HOME": self.data,
            "XDG_DATA_DIRS": os.path.join(self.home, "usr", "share"),
            "XDG_CONFIG_DIRS": os.path.join(self.home, "etc", "xdg"),
            "XDG_CACHE_HOME": os.path.join(self.home, ".cache"),
            "XDG_RUNTIME_DIR": self.home,
            "XDG_CURRENT_DESKTOP": "",
            "QT_QPA_PLATFORM": "xcb",
            # The tests read English texts, whatever language the machine running them speaks.
            "LANG": "C.UTF-8",
            "LANGUAGE": "",
        })
        self.env.pop("LC_ALL", None)
        self.env.pop("LC_MESSAGES", None)
        self.env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        self.env.pop("WAYLAND_DISPLAY", None)

    def start_x(self, tray=True):
        # Xvfb picks a free display itself and tells us its number: no race with other servers.
        read_end, write_end = os.pipe()
        self.spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24", "-nolisten", "tcp",
                    "-noreset"], pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            number = numbers.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number
        self.env["DISPLAY"] = self.display
        if tray:
            self.start_tray()

    def start_tray(self):
        tray = self.spawn(["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                           "--height", "28", "--SetDockType", "true", "--transparent", "false"])
        if not wait_for(lambda: self.xdotool("search", "--classname", "trayer").stdout.strip(), watch=[tray]):
            raise RuntimeError("the tray host did not start")
        time.sleep(0.2)

    def windows(self, classname, visible=False):
        args = ["search"] + (["--onlyvisible"] if visible else []) + ["--classname", classname]
        return self.xdotool(*args).stdout.split()

    def spawn(self, args, **kwargs):
        proc = subprocess.Popen(args, env=kwargs.pop("env", self.env), stdout=kwargs.pop("stdout", subprocess.DEVNULL),
                                stderr=kwargs.pop("stderr", subprocess.DEVNULL), **kwargs)
        self.procs.append(proc)
        return proc

    def write(self, relative, text):
        path = os.path.join(self.home, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return path

    def write_kde_menu(self, config_dir):
        """KDE's service cache takes in only applications a menu lists; this one, in `config_dir`/menus,
        lists them all, under Plasma 5's name and Plasma 6's."""
        for name in ("kf5-applications.menu", "applications.menu"):
            self.write(os.path.join(config_dir, "menus", name), KDE_MENU)

    def browser(self, desktop_id, name):
        # A program no package owns: a packaged one would lend the browser its package's version.
        program = self.write("bin/web-browser", "#!/bin/sh\nexit 0\n")
        os.chmod(program, 0o755)
        return self.write(os.path.join(self.apps, desktop_id + ".desktop"),
                          "[Desktop Entry]\nType=Application\nName=%s\nExec=%s %%u\n"
                          "MimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;\n" % (name, program))

    def start_bus(self, name, exec_line=None):
        """A private session bus; with `exec_line` it activates app.tolvane.Tolvane by running it.
        Returns (address, path of the file that collects the daemon's and its children's output)."""
        folder = os.path.join(self.home, name)
        services = os.path.join(folder, "services")
        os.makedirs(services)
        if exec_line:
            with open(os.path.join(services, "app.tolvane.Tolvane.service"), "w") as f:
                f.write("[D-BUS Service]\nName=app.tolvane.Tolvane\nExec=%s\n" % exec_line)
        config = os.path.join(folder, "bus.conf")
        with open(config, "w") as f:
            f.write(bus_config(folder, services))
        out_path = os.path.join(folder, "bus.out")
        with open(out_path, "w") as out:
            # An activated process inherits the daemon's output.
            daemon = self.spawn(["dbus-daemon", "--config-file=" + config, "--nofork", "--print-address=1"],
                                stdout=out, stderr=out)

        def address():
            with open(out_path, encoding="utf-8", errors="replace") as f:
                return next((l for l in f.read().splitlines() if l.startswith("unix:")), None)
        found = wait_for(address, watch=[daemon])
        if not found:
            raise RuntimeError("dbus-daemon did not start")
        return found, out_path

    def run(self, args):
        return subprocess.run(args, env=self.env, capture_output=True, text=True)

    def xdotool(self, *args):
        return self.run(["xdotool", *args])

    def default_for(self, mime):
        return self.run(["xdg-mime", "query", "default", mime]).stdout.strip()

    def stray_processes(self, program):
        """Processes of `program` started for this desktop by someone else (e.g. the bus)."""
        found = []
        # `tolvane` becomes the tray program beside it for every start that is not a command.
        programs = {os.path.realpath(program), os.path.realpath(os.path.join(os.path.dirname(program), "tolvane-tray"))}
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                if os.path.realpath("/proc/%s/exe" % pid) not in programs:
                    continue
                with open("/proc/%s/environ" % pid, "rb") as f:
                    if ("HOME=%s" % self.home).encode() in f.read().split(b"\0"):
                        found.append(int(pid))
            except OSError:
                continue
        return found

    def close(self, programs=()):
        for program in programs:
            for pid in self.stray_processes(program):
                try:
                    os.kill(pid, signal.SIGTERM)
                except OSError:
                    pass
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.send_signal(signal.SIGTERM)
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        shutil.rmtree(self.home, ignore_errors=True)


def bus_config(listen_dir, services=None):
    """A private session bus's configuration: anyone may own and call anything; names are activated
    from `services` when given."""
    return ("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
            " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
            "<busconfig>\n  <type>session</type>\n  <listen>unix:dir=%s</listen>\n" % listen_dir
            + ("  <servicedir>%s</servicedir>\n" % services if services else "")
            + "  <policy context=\"default\">\n    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
              "    <allow eavesdrop=\"true\"/>\n    <allow own=\"*\"/>\n  </policy>\n</busconfig>\n")


def ini_string(value):
    """A string value as the settings files store it (quoted, so commas stay text)."""
    return '"' + value.replace("\\", "\\\\").replace('"', '\\"') + '"'


class DesktopProcesses:
    """For a test case with `self.desk`: desktop processes started with their own log, and the
    session bus asked through gdbus."""

    def start(self, name, args, env, ready, timeout=60):
        """Starts a desktop process and waits for `ready`, allowing for a loaded machine; fails at once
        when the process exits."""
        log = open(os.path.join(self.desk.home, name + ".log"), "w")
        self.addCleanup(log.close)
        proc = self.desk.spawn(args, env=env, stdout=log, stderr=log)
        up = wait_for(lambda: proc.poll() is not None or ready(), timeout)
        self.assertTrue(up and proc.poll() is None, "%s did not start:\n%s" % (name, self.log(name)))
        return proc

    def log(self, name):
        with open(os.path.join(self.desk.home, name + ".log"), encoding="utf-8", errors="replace") as f:
            return f.read()

    def bus(self, dest, path, method, *args):
        return self.desk.run(["gdbus", "call", "--session", "--dest", dest, "--object-path", path,
                              "--method", method, *args]).stdout

    def has_owner(self, name):
        return "true" in self.bus("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                  "org.freedesktop.DBus.NameHasOwner", name)
