#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the GNOME 48 check of scripts/try-gnome48.sh inside its root, with gnome-shell already
starting: Tolvane with a stored Ctrl+Alt+B shortcut to the browser "bravo", a click on Add in
GNOME's approval dialog and a key press, both through org.gnome.Mutter.RemoteDesktop; then Tolvane
started again, which must not bring the dialog back, and the key pressed once more.
Exits 0 only when both presses made bravo the default browser.
Usage: drive.py OUTPUT_DIR GNOME_SHELL_PID"""
import os
import subprocess
import sys
import time

from gi.repository import Gio, GLib
from PIL import Image

OUT, SHELL_PID = sys.argv[1], int(sys.argv[2])
HOME = os.environ["HOME"]
REMOTE = "org.gnome.Mutter.RemoteDesktop"
SCREEN = (1280, 800)
# Linux input event codes.
KEY_ESC, KEY_LEFTCTRL, KEY_LEFTALT, KEY_B, BTN_LEFT = 1, 29, 56, 48, 0x110


def log(text):
    print("try-gnome48: " + text, flush=True)


def fail(text):
    log("FAILED: " + text)
    sys.exit(1)


def shell_running():
    try:
        os.kill(SHELL_PID, 0)
        pid, _ = os.waitpid(SHELL_PID, os.WNOHANG)
        return pid == 0
    except (ProcessLookupError, ChildProcessError):
        return False


def wait_for(what, timeout, step=0.3):
    """Polls `what` for up to `timeout` seconds (a loaded machine is slow); gives up at once
    when gnome-shell has exited."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = what()
        if value:
            return value
        if not shell_running():
            fail("gnome-shell exited; see gnome-shell.log")
        time.sleep(step)
    return None


bus = None


def call(name, path, interface, method, args=None, reply=None, timeout=30000):
    return bus.call_sync(name, path, interface, method, args, GLib.VariantType(reply) if reply else None,
                         Gio.DBusCallFlags.NONE, timeout, None)


def has_owner(name):
    return call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
                GLib.Variant("(s)", (name,)), "(b)").unpack()[0]


shots = 0


def screenshot(label):
    """Saves the screen through the shell's own screenshot interface; returns the file."""
    global shots
    shots += 1
    path = os.path.join(OUT, "%02d-%s.png" % (shots, label))
    call("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot", "org.gnome.Shell.Screenshot",
         "Screenshot", GLib.Variant("(bbs)", (False, False, path)), "(bs)")
    return path


class Input:
    """A remote desktop session of Mutter: keys and a pointer without a screen cast stream, so
    the pointer moves relatively, from the bottom-right corner (no hot corner there)."""

    def __init__(self):
        self.session = call(REMOTE, "/org/gnome/Mutter/RemoteDesktop", REMOTE, "CreateSession", None,
                            "(o)").unpack()[0]
        self.do("Start")

    def do(self, method, signature=None, *args):
        call(REMOTE, self.session, REMOTE + ".Session", method, GLib.Variant(signature, args) if signature else None)

    def keys(self, *codes):
        for code in codes:
            self.do("NotifyKeyboardKeycode", "(ub)", code, True)
            time.sleep(0.05)
        for code in reversed(codes):
            self.do("NotifyKeyboardKeycode", "(ub)", code, False)
            time.sleep(0.05)

    def click(self, x, y):
        self.do("NotifyPointerMotionRelative", "(dd)", 10000.0, 10000.0)
        time.sleep(0.2)
        self.do("NotifyPointerMotionRelative", "(dd)", float(x - SCREEN[0] + 1), float(y - SCREEN[1] + 1))
        time.sleep(0.3)
        self.do("NotifyPointerButton", "(ib)", BTN_LEFT, True)
        time.sleep(0.1)
        self.do("NotifyPointerButton", "(ib)", BTN_LEFT, False)


def accent_button(path):
    """Centre of the largest patch of GNOME's accent blue, the dialog's suggested (Add) button, as
    drawn in a focused window or in one behind another; None when there is none."""
    image = Image.open(path).convert("RGB")
    width, height = image.size
    pixels = image.load()

    def accent(x, y):
        r, g, b = pixels[x, y]
        return (abs(r - 53) < 25 and abs(g - 132) < 25 and abs(b - 228) < 25) or \
            (abs(r - 151) < 12 and abs(g - 191) < 12 and abs(b - 240) < 12)

    hits = {(x, y) for y in range(0, height, 2) for x in range(0, width, 2) if accent(x, y)}
    best = []
    while hits:
        patch, todo = [], [hits.pop()]
        while todo:
            x, y = todo.pop()
            patch.append((x, y))
            for near in ((x + 2, y), (x - 2, y), (x, y + 2), (x, y - 2)):
                if near in hits:
                    hits.remove(near)
                    todo.append(near)
        if len(patch) > len(best):
            best = patch
    if len(best) < 150:  # a button, not an icon
        return None
    return (min(x for x, _ in best) + max(x for x, _ in best)) // 2, \
        (min(y for _, y in best) + max(y for _, y in best)) // 2


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as f:
        f.write(text)
    return path


def default_browser():
    return subprocess.run(["xdg-mime", "query", "default", "x-scheme-handler/https"], capture_output=True,
                          text=True).stdout.strip()


def main():
    global bus
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    # The shell answers screenshot calls only from the desktop's own tools; this process takes
    # one of their names on the private bus.
    call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
         GLib.Variant("(su)", ("org.gnome.Screenshot", 4)), "(u)")
    if not wait_for(lambda: has_owner("org.gnome.Shell") and has_owner(REMOTE), 120):
        fail("gnome-shell did not come up")
    wait_for(lambda: os.path.exists(os.path.join(os.environ["XDG_RUNTIME_DIR"], "wayland-0")), 60)
    time.sleep(3)  # the start-up overview animation
    keyboard = Input()
    keyboard.keys(KEY_ESC)  # leave the overview the shell starts in
    time.sleep(1)

    # Two browsers, alpha the default; Tolvane's shortcut Control+Option+B goes to bravo.
    program = write(HOME + "/bin/web-browser", "#!/bin/sh\nexit 0\n")
    os.chmod(program, 0o755)
    apps = HOME + "/.local/share/applications"
    for name in ("alpha", "bravo"):
        write("%s/%s.desktop" % (apps, name),
              "[Desktop Entry]\nType=Application\nName=%s\nExec=%s %%u\n"
              "MimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;\n" % (name.title(), program))
    write(HOME + "/.config/mimeapps.list", "[Default Applications]\nx-scheme-handler/https=alpha.desktop;\n")
    write(HOME + "/.config/tolvane/group.tolva.conf",
          '[General]\nsettings.settingsToggleBrowser=true\n'
          'settings.settingsToggleBrowserId="bravo::file://%s/bravo.desktop"\n' % apps)
    write(HOME + "/.config/tolvane/tolvane.conf",
          '[General]\nGlobalKeys_toggleSystemBrowserKeys="{\\"carbonKeyCode\\":11,\\"carbonModifiers\\":6144}"\n')
    if default_browser() != "alpha.desktop":
        fail("the starting default is %r, not alpha.desktop" % default_browser())

    tolvane = start_tolvane("tolvane.log")

    # GNOME asks through its settings' shortcuts provider, which shows the dialog.
    if not wait_for(lambda: tolvane.poll() is None and has_owner("org.gnome.Settings.GlobalShortcutsProvider"), 90):
        screenshot("no-dialog")
        fail("GNOME's shortcut dialog did not open (Tolvane %s)" %
             ("exited %s" % tolvane.returncode if tolvane.poll() is not None else "running"))
    button = wait_for(lambda: accent_button(screenshot("dialog")), 30, step=1)
    if not button:
        fail("no Add button on screen")
    log("Add button at %d,%d" % button)
    # A dialog without the focus (behind Tolvane's window, say) may take the first click for itself.
    for _ in range(3):
        keyboard.click(*button)
        time.sleep(1.5)
        button = accent_button(screenshot("after-click"))
        if not button:
            break
    if accent_button(screenshot("added")):
        fail("the dialog is still open after clicking Add")

    time.sleep(2)
    press_switches(keyboard, tolvane, "after-press")
    log("Ctrl+Alt+B made bravo the default browser")

    # Started again, Tolvane binds the shortcut GNOME knows now: no dialog, and the key still works.
    write(HOME + "/.config/mimeapps.list", "[Default Applications]\nx-scheme-handler/https=alpha.desktop;\n")
    tolvane = start_tolvane("tolvane-again.log")
    time.sleep(8)  # long enough for a dialog to show; nothing announces that none will
    if accent_button(screenshot("restarted")):
        fail("GNOME asked again after a restart")
    press_switches(keyboard, tolvane, "after-restart-press")
    log("after a restart, with no dialog, Ctrl+Alt+B made bravo the default browser again")


def start_tolvane(log_name):
    env = dict(os.environ, QT_QPA_PLATFORM="wayland", XKB_DEFAULT_LAYOUT="us")
    output = open(os.path.join(OUT, log_name), "w")
    return subprocess.Popen(["/usr/bin/tolvane"], env=env, stdout=output, stderr=subprocess.STDOUT)


def press_switches(keyboard, tolvane, label):
    """Presses Ctrl+Alt+B, fails unless it made bravo the default, and stops Tolvane."""
    keyboard.keys(KEY_LEFTCTRL, KEY_LEFTALT, KEY_B)
    switched = wait_for(lambda: default_browser() == "bravo.desktop", 20)
    screenshot(label)
    if tolvane.poll() is not None:
        fail("Tolvane exited with %s" % tolvane.returncode)
    tolvane.terminate()
    tolvane.wait(10)
    if not switched:
        fail("Ctrl+Alt+B did not switch the default browser (still %r)" % default_browser())


if __name__ == "__main__":
    main()
