#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Whole-process figures of the command line beside the desktop's own tools, on one throwaway
# desktop with no display: `tolvane --set` against `xdg-settings set default-web-browser`,
# `tolvane --get` against `xdg-settings get default-web-browser`, `tolvane --list` against
# `gio mime x-scheme-handler/https`.
# Usage: bench/app/cli_bench.sh path/to/tolvane [browser count, default 3] [home|outside]
#   home:    the browsers' program lies in the home folder, as a downloaded browser's does;
#   outside: it lies outside, in /opt (where a tarball goes) and no package owns it.
set -euo pipefail
bin=$(realpath "$1")
count="${2:-3}"
where="${3:-home}"
command -v hyperfine >/dev/null || { echo "cli_bench: hyperfine missing"; exit 0; }

home=$(mktemp -d)
# Where packages may install too, so the package databases are asked; /tmp when /opt is not writable.
outside=$(mktemp -d -p /opt tolvane-bench.XXXXXX 2>/dev/null || mktemp -d)
trap 'rm -rf "$home" "$outside"' EXIT
apps="$home/.local/share/applications"
mkdir -p "$apps" "$home/.config" "$home/usr/share/applications" "$home/bin" "$outside/bin"
program="$home/bin/browser"
[ "$where" = outside ] && program="$outside/bin/browser"
printf '#!/bin/sh\nexit 0\n' >"$program"
chmod +x "$program"
for i in $(seq 0 $((count - 1))); do
  printf '[Desktop Entry]\nType=Application\nName=Browser %d\nIcon=web-browser\nExec=%s %%u\nMimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;\n' \
    "$i" "$program" >"$apps/org.bench.Browser$i.desktop"
done
update-desktop-database "$apps"

export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
  XDG_DATA_DIRS="$home/usr/share" XDG_CONFIG_DIRS="$home/etc/xdg" XDG_CACHE_HOME="$home/.cache" \
  XDG_CURRENT_DESKTOP=
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID DESKTOP_SESSION || true

"$bin" --set org.bench.Browser0.desktop
hyperfine -N --warmup 3 --runs 30 --style none --export-json "$home/read.json" \
  "$bin --list" "gio mime x-scheme-handler/https" \
  "$bin --get" "xdg-settings get default-web-browser" >/dev/null
# Each timed switch really changes the default: another browser is made the default first.
hyperfine -N --warmup 3 --runs 30 --style none --export-json "$home/switch.json" \
  --prepare "$bin --set org.bench.Browser0.desktop" \
  "$bin --set org.bench.Browser1.desktop" \
  "xdg-settings set default-web-browser org.bench.Browser1.desktop" >/dev/null

python3 - "$home" "$bin" "$count" "$where" <<'PY'
import json, os, sys
results = {}
for name in ("read.json", "switch.json"):
    for r in json.load(open(os.path.join(sys.argv[1], name)))["results"]:
        results[r["command"]] = r["median"]
tolvane, count, where = sys.argv[2], sys.argv[3], sys.argv[4]
pairs = [("--set org.bench.Browser1.desktop", "xdg-settings set default-web-browser org.bench.Browser1.desktop", 20.0),
         ("--get", "xdg-settings get default-web-browser", 5.0),
         ("--list", "gio mime x-scheme-handler/https", 1.0)]
print("%s browsers, program %s the home folder: median wall time of whole processes"
      % (count, "in" if where == "home" else "outside (no package owns it)"))
for ours, theirs, goal in pairs:
    mine = results["%s %s" % (tolvane, ours)]
    ratio = results[theirs] / mine
    print("  tolvane %-34s %7.2f ms   %-64s %7.2f ms   %5.1fx (goal >= %gx) %s"
          % (ours, mine * 1e3, theirs, results[theirs] * 1e3, ratio, goal,
             "ok" if ratio >= goal and (goal > 1 or ratio > 1) else "MISSED"))
PY
