# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader finds in one application's windows, read through AT-SPI.

Run with the system's Python (pyatspi is a Debian package):
  atspi_windows.py PID dump                   prints every window's tree as JSON
  atspi_windows.py PID press WINDOW NAME      does the first action of the node called NAME in the
                                              window called WINDOW; prints "pressed" or "missing"
Each node of a dump is {"role", "name", "interfaces", "depth"}, the window itself first."""
import json
import sys

import pyatspi


def application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:
            continue
    return None


def node(acc, depth):
    return {"role": acc.getRoleName(), "name": acc.name, "interfaces": sorted(acc.get_interfaces()), "depth": depth}


def walk(acc, depth=0):
    yield acc, depth
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def main():
    app = application(int(sys.argv[1]))
    if app is None:
        print("null")
        return
    windows = [app.getChildAtIndex(i) for i in range(app.childCount)]
    if sys.argv[2] == "dump":
        print(json.dumps([{"name": w.name, "role": w.getRoleName(),
                           "nodes": [node(acc, depth) for acc, depth in walk(w)]} for w in windows if w]))
        return
    title, name = sys.argv[3], sys.argv[4]
    for window in windows:
        if window is None or window.name != title:
            continue
        for acc, _ in walk(window):
            if acc.name == name and "Action" in acc.get_interfaces():
                acc.queryAction().doAction(0)
                print("pressed")
                return
    print("missing")


main()
