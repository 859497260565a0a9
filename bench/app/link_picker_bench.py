# SPDX-License-Identifier: GPL-3.0-or-later
"""How long a link whose rule says "ask" waits for its picker: from the Links1.Ask call until the
picker is drawn on a private Xvfb, with the tray running (its catalogue warm) and with the bus
starting the service for the call. The picker logs the moment it is first drawn."""
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tests", "support"))
from desktop import Desktop, wait_for  # noqa: E402

TOLVANE = sys.argv[1] if len(sys.argv) > 1 else "build/app/ui/tolvane"
ASKS = int(os.environ.get("BENCH_ASKS", "20"))
BROWSERS = int(os.environ.get("BENCH_BROWSERS", "8"))
SHOWN = b"Link picker shown"


def ask_command(link):
    return ["dbus-send", "--session", "--print-reply", "--dest=app.tolvane.Tolvane", "/app/tolvane/Tolvane",
            "app.tolvane.Tolvane.Links1.Ask", "array:string:" + link, "string:"]


def has_owner(desk):
    return "true" in desk.run(["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
                               "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.NameHasOwner",
                               "app.tolvane.Tolvane"]).stdout


def count_in(path, needle):
    with open(path, "rb") as f:
        return f.read().count(needle)


def timed_ask(desk, log):
    """Seconds from the call until the log says the picker was drawn; the picker is then dismissed."""
    seen = count_in(log, SHOWN)
    t0 = time.monotonic()
    caller = subprocess.Popen(ask_command("https://example.org/%d" % seen), env=desk.env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    end = t0 + 20
    while count_in(log, SHOWN) == seen:
        if time.monotonic() > end or caller.poll():
            with open(log, errors="replace") as f:
                raise RuntimeError("the picker never showed: %s\n%s" % (caller.communicate()[1], f.read()))
        time.sleep(0.0005)
    elapsed = time.monotonic() - t0
    caller.wait()
    window = wait_for(lambda: desk.xdotool("search", "--onlyvisible", "--name", "^Open Link$").stdout.split(), 10)
    # Typed at the focused window (XTEST): a key sent to a window that closes on its press would
    # never see its release, and stay down in the server.
    desk.xdotool("windowfocus", "--sync", window[0])
    desk.xdotool("key", "Escape")
    if wait_for(lambda: not desk.xdotool("search", "--onlyvisible", "--name", "^Open Link$").stdout.split(), 10):
        return elapsed
    raise RuntimeError("the picker stayed after Escape")


def caller_alone(desk):
    """What starting the calling program costs by itself (a call the bus answers itself)."""
    times = []
    for _ in range(10):
        t0 = time.monotonic()
        subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                        "/org/freedesktop/DBus", "org.freedesktop.DBus.GetId"], env=desk.env,
                       stdout=subprocess.DEVNULL, check=True)
        times.append(time.monotonic() - t0)
    return statistics.median(times)


def report(what, times):
    ordered = sorted(times)
    print("%s: median %.1f ms, min %.1f ms, max %.1f ms over %d asks"
          % (what, statistics.median(ordered) * 1e3, ordered[0] * 1e3, ordered[-1] * 1e3, len(ordered)))


def main():
    desk = Desktop()
    runtime = tempfile.mkdtemp(prefix="tolvane-bench-", dir="/dev/shm" if os.path.isdir("/dev/shm") else None)
    desk.env["XDG_RUNTIME_DIR"] = runtime
    try:
        for i in range(BROWSERS):
            desk.browser("browser%d" % i, "Browser %d" % i)
        desk.start_x()

        # The tray runs: its menu has listed the browsers once.
        desk.env["DBUS_SESSION_BUS_ADDRESS"] = desk.start_bus("tray-bus")[0]
        log = os.path.join(desk.home, "tray.log")
        with open(log, "w") as out:
            tray = desk.spawn([TOLVANE], stderr=out)
        # The icon shows before the bus name is claimed.
        if not wait_for(lambda: has_owner(desk), watch=[tray]):
            raise RuntimeError("the tray never took its bus name")
        overhead = caller_alone(desk)
        warm = [timed_ask(desk, log) for _ in range(ASKS)]
        tray.terminate()
        tray.wait(5)

        # No Tolvane runs: each call starts the service, which is stopped again before the next.
        address, bus_log = desk.start_bus("service-bus", TOLVANE + " --service")
        desk.env["DBUS_SESSION_BUS_ADDRESS"] = address
        cold = []
        for _ in range(max(1, ASKS // 2)):
            cold.append(timed_ask(desk, bus_log))
            for pid in desk.stray_processes(TOLVANE):
                os.kill(pid, signal.SIGTERM)
            if not wait_for(lambda: not has_owner(desk), 10):
                raise RuntimeError("the service kept its name")

        print("%d browsers; starting dbus-send alone: %.1f ms (included below)" % (BROWSERS, overhead * 1e3))
        report("Ask -> picker drawn, tray running", warm)
        report("Ask -> picker drawn, bus starts the service", cold)
    finally:
        desk.close([TOLVANE])
        shutil.rmtree(runtime, ignore_errors=True)


if __name__ == "__main__":
    main()
