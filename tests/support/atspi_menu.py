# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the menu a GTK tray host draws, through its accessibility tree, and picks one entry.

Run with the system's Python (pyatspi is a Debian package). Prints "ready" once listening; on the
first menu entry that gets selected (the test presses Down), prints the menu's entries as JSON lines
[role, name, sensitive], then clicks the entry named argv[1] and prints "chosen"."""
import json
import sys

import pyatspi

ENTRY_ROLES = ("menu item", "check menu item", "radio menu item", "separator")


def on_selected(event):
    if event.detail1 != 1 or event.source.getRoleName() not in ENTRY_ROLES:
        return
    menu = event.source.parent
    entries = [menu.getChildAtIndex(i) for i in range(menu.childCount)]
    print(json.dumps([[e.getRoleName(), e.name, e.getState().contains(pyatspi.STATE_SENSITIVE)] for e in entries]),
          flush=True)
    for entry in entries:
        if entry.name == sys.argv[1]:
            entry.queryAction().doAction(0)
            print("chosen", flush=True)
    pyatspi.Registry.stop()


pyatspi.Registry.registerEventListener(on_selected, "object:state-changed:selected")
print("ready", flush=True)
pyatspi.Registry.start()
