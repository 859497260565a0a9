#!/usr/bin/env bash
# Whole-process figures of the command line beside the desktop's own tool, on one throwaway
# desktop with no display: `tolvane --list` against `xdg-settings get default-web-browser`,
# `tolvane --set` against `xdg-settings set default-web-browser`.
# Usage: bench/app/cli_bench.sh path/to/tolvane [browser count, default 3]
set -euo pipefail
bin=$(realpath "$1")
count="${2:-3}"
command -v hyperfine >/dev/null || { echo "cli_bench: hyperfine missing"; exit 0; }

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
apps="$home/.local/share/applications"
mkdir -p "$apps" "$home/.config" "$home/usr/share/applications" "$home/bin"
# The browsers' program is the user's own, as a downloaded browser's is: no package owns it.
printf '#!/bin/sh\nexit 0\n' >"$home/bin/browser"
chmod +x "$home/bin/browser"
for i in $(seq 0 $((count - 1))); do
  printf '[Desktop Entry]\nType=Application\nName=Browser %d\nIcon=web-browser\nExec=%s %%u\nMimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;\n' \
    "$i" "$home/bin/browser" >"$apps/org.bench.Browser$i.desktop"
done
update-desktop-database "$apps"

export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
  XDG_DATA_DIRS="$home/usr/share" XDG_CONFIG_DIRS="$home/etc/xdg" XDG_CACHE_HOME="$home/.cache" \
  XDG_CURRENT_DESKTOP=
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID DESKTOP_SESSION || true

hyperfine -N --warmup 3 --runs 30 --style none --export-json "$home/read.json" \
  "$bin --list" \
  "xdg-settings get default-web-browser" >/dev/null
# Each timed switch really changes the default: another browser is made the default first.
hyperfine -N --warmup 3 --runs 30 --style none --export-json "$home/switch.json" \
  --prepare "$bin --set org.bench.Browser0.desktop" \
  "$bin --set org.bench.Browser1.desktop" \
  "xdg-settings set default-web-browser org.bench.Browser1.desktop" >/dev/null

python3 - "$home" "$bin" "$count" <<'PY'
import json, os, sys
results, cpu = {}, {}
for name in ("read.json", "switch.json"):
    for r in json.load(open(os.path.join(sys.argv[1], name)))["results"]:
        results[r["command"]] = r["median"]
        cpu[r["command"]] = r["user"] + r["system"]
tolvane, count = sys.argv[2], sys.argv[3]
pairs = [("--list", "xdg-settings get default-web-browser", 1.0),
         ("--set org.bench.Browser1.desktop", "xdg-settings set default-web-browser org.bench.Browser1.desktop", 20.0)]
print("%s browsers, whole processes: median wall time (mean CPU time, user + system)" % count)
for ours, theirs, goal in pairs:
    key = "%s %s" % (tolvane, ours)
    ratio = results[theirs] / results[key]
    print("  tolvane %-34s %7.2f ms (%6.2f)   %-64s %7.2f ms (%6.2f)   %5.1fx faster, CPU %5.1fx (goal >= %gx) %s"
          % (ours, results[key] * 1e3, cpu[key] * 1e3, theirs, results[theirs] * 1e3, cpu[theirs] * 1e3,
             ratio, cpu[theirs] / cpu[key], goal, "ok" if ratio >= goal else "MISSED"))
PY
