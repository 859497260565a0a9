"""Tolvane on a StatusNotifier tray: a watcher and host on a private bus read and click its menu."""
import json
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from desktop import Desktop, wait_for  # noqa: E402

TOLVANE = os.environ["TOLVANE_BIN"]
SNI_HOST = os.environ["SNI_HOST_BIN"]

BROWSERS = [("alpha", "Alpha", "128.0.2"), ("bravo", "Fish & Chips_Browser", "3.1 b2"), ("charlie", "Charlie", "9")]


def shown(label):
    """What a dbusmenu host draws for a label: "_x" marks an access key, "__" is one underscore."""
    out, i = "", 0
    while i < len(label):
        if label[i] == "_" and i + 1 < len(label):
            i += 1
        out += label[i]
        i += 1
    return out


class StatusNotifierTray(unittest.TestCase):
    def setUp(self):
        self.desk = Desktop()
        self.addCleanup(self.desk.close, [TOLVANE])
        for desktop_id, name, version in BROWSERS:
            self.desk.write(os.path.join(self.desk.apps, desktop_id + ".desktop"),
                            "[Desktop Entry]\nType=Application\nName=%s\nExec=/bin/true %%u\n"
                            "MimeType=x-scheme-handler/http;x-scheme-handler/https;\n"
                            "X-AppImage-Version=%s\n" % (name, version))
        self.desk.write(".config/tolvane/group.tolva.conf", "[General]\nsettings.settingsShowBrowserVersion=true\n")
        # No XEmbed tray: the only host is the StatusNotifier one on the bus.
        self.desk.start_x(tray=False)
        self.desk.env["DBUS_SESSION_BUS_ADDRESS"], _ = self.desk.start_bus("bus")
        self.watcher = self.desk.spawn([SNI_HOST, "watch"], stdout=subprocess.PIPE, text=True)
        self.assertEqual(self.watcher.stdout.readline().strip(), "ready")
        log = open(os.path.join(self.desk.home, "tolvane.out"), "w")
        self.addCleanup(log.close)
        self.proc = self.desk.spawn([TOLVANE], stdout=log, stderr=log)
        registered = self.watcher.stdout.readline().split()
        self.assertEqual(registered[:1], ["item"], "Tolvane registers its item with the watcher")
        self.service, self.path = registered[1], registered[2]

    def host(self, *args):
        result = self.desk.run([SNI_HOST, *args])
        self.assertEqual(result.returncode, 0, result.stderr)
        return result.stdout

    def layout(self, menu):
        return json.loads(self.host("layout", self.service, menu))["children"]

    def test_item_menu_and_clicks_as_a_host_sees_them(self):
        item = json.loads(self.host("item", self.service, self.path))
        self.assertEqual(item["ToolTip"][2], "Tolvane")
        self.assertEqual(item["Status"], "Active")
        pixmaps = item["IconPixmap"]
        self.assertTrue(pixmaps, "the \"browser\" image is exported")
        for width, height, length in pixmaps:
            self.assertEqual(length, width * height * 4)

        entries = self.layout(item["Menu"])
        texts = [e.get("type") == "separator" and "-" or shown(e["label"]) for e in entries]
        self.assertEqual(texts, ["Quit", "Settings…", "Send Feedback", "About", "-", "Change default browser to",
                                 "Alpha (128.0.2)", "Fish & Chips_Browser (3.1 b2)", "Charlie (9)", "-",
                                 "Refresh list"])
        self.assertFalse(entries[5]["enabled"], "the heading is not clickable")
        self.assertTrue(all(e["enabled"] for e in entries[6:9]))

        self.host("click", self.service, item["Menu"], str(entries[7]["id"]))
        self.assertTrue(wait_for(lambda: self.desk.default_for("x-scheme-handler/https") == "bravo.desktop", 10),
                        self.desk.default_for("x-scheme-handler/https"))
        # After the switch the list is read again (the default first); the host gets the new rows,
        # which may come a moment after the file changed.
        def rows():
            return [shown(e.get("label", "-")) for e in self.layout(item["Menu"])][6:9]
        self.assertTrue(wait_for(lambda: rows() == [texts[7], texts[6], texts[8]], 10), rows())

        # A left click on the icon opens the menu.
        visible = set(self.desk.windows("tolvane", visible=True))
        self.host("activate", self.service, self.path, "600", "10")
        self.assertTrue(wait_for(lambda: set(self.desk.windows("tolvane", visible=True)) - visible, 10),
                        "Activate opens the menu")
        self.assertIsNone(self.proc.poll())


if __name__ == "__main__":
    unittest.main(verbosity=2)
