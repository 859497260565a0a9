"""A throwaway desktop for end-to-end runs: private HOME and XDG folders, Xvfb, a tray host."""
import os
import shutil
import signal
import subprocess
import tempfile
import time


def free_display():
    for n in range(140, 400):
        if not os.path.exists(f"/tmp/.X11-unix/X{n}") and not os.path.exists(f"/tmp/.X{n}-lock"):
            return f":{n}"
    raise RuntimeError("no free X display number")


def wait_for(predicate, timeout=10.0, interval=0.05):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(interval)
    return None


class Desktop:
    def __init__(self):
        self.home = tempfile.mkdtemp(prefix="tolvane-e2e-")
        self.config = os.path.join(self.home, ".config")
        self.data = os.path.join(self.home, ".local", "share")
        self.apps = os.path.join(self.data, "applications")
        os.makedirs(self.apps)
        os.makedirs(os.path.join(self.config, "tolvane"))
        self.display = free_display()
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
            "DISPLAY": self.display,
            "QT_QPA_PLATFORM": "xcb",
        })
        self.env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        self.env.pop("WAYLAND_DISPLAY", None)

    def start_x(self, tray=True):
        self.spawn(["Xvfb", self.display, "-screen", "0", "1280x800x24", "-nolisten", "tcp", "-noreset"])
        if not wait_for(lambda: subprocess.run(["xdpyinfo"], env=self.env, capture_output=True).returncode == 0):
            raise RuntimeError("Xvfb did not start")
        if tray:
            self.spawn(["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                        "--height", "28", "--SetDockType", "true", "--transparent", "false"])
            time.sleep(0.5)

    def spawn(self, args, **kwargs):
        proc = subprocess.Popen(args, env=self.env, stdout=kwargs.pop("stdout", subprocess.DEVNULL),
                                stderr=kwargs.pop("stderr", subprocess.DEVNULL), **kwargs)
        self.procs.append(proc)
        return proc

    def write(self, relative, text):
        path = os.path.join(self.home, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return path

    def browser(self, desktop_id, name):
        return self.write(os.path.join(self.apps, desktop_id + ".desktop"),
                          "[Desktop Entry]\nType=Application\nName=%s\nExec=/bin/true %%u\n"
                          "MimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;\n" % name)

    def run(self, args):
        return subprocess.run(args, env=self.env, capture_output=True, text=True)

    def xdotool(self, *args):
        return self.run(["xdotool", *args])

    def default_for(self, mime):
        return self.run(["xdg-mime", "query", "default", mime]).stdout.strip()

    def close(self):
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.send_signal(signal.SIGTERM)
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        shutil.rmtree(self.home, ignore_errors=True)


def ini_string(value):
    """A string value as the settings files store it (quoted, so commas stay text)."""
    return '"' + value.replace("\\", "\\\\").replace('"', '\\"') + '"'
