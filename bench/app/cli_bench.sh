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
mkdir -p "$apps" "$home/.config" "$home/usr/share/applications"
for i in $(seq 0 $((count - 1))); do
  printf '[Desktop Entry]\nType=Application\nName=Browser %d\nIcon=web-browser\nExec=/bin/true %%u\nMimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;\n' \
    "$i" >"$apps/org.bench.Browser$i.desktop"
done
update-desktop-database "$apps"

export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
  XDG_DATA_DIRS="$home/usr/share" XDG_CONFIG_DIRS="$home/etc/xdg" XDG_CACHE_HOME="$home/.cache" \
  XDG_CURRENT_DESKTOP=
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID DESKTOP_SESSION || true

out="$home/hyperfine.json"
hyperfine -N --warmup 3 --runs 30 --style none --export-json "$out" \
  "$bin --list" \
  "xdg-settings get default-web-browser" \
  "$bin --set org.bench.Browser1.desktop" \
  "xdg-settings set default-web-browser org.bench.Browser1.desktop" >/dev/null

python3 - "$out" "$bin" "$count" <<'PY'
import json, sys
results = {r["command"]: r["median"] for r in json.load(open(sys.argv[1]))["results"]}
tolvane, count = sys.argv[2], sys.argv[3]
pairs = [("--list", "xdg-settings get default-web-browser", 1.0),
         ("--set org.bench.Browser1.desktop", "xdg-settings set default-web-browser org.bench.Browser1.desktop", 20.0)]
print("%s browsers, whole processes, medians" % count)
for ours, theirs, goal in pairs:
    mine, other = results["%s %s" % (tolvane, ours)], results[theirs]
    ratio = other / mine
    print("  tolvane %-36s %8.2f ms   %-66s %8.2f ms   %5.1fx faster (goal >= %gx) %s"
          % (ours, mine * 1e3, theirs, other * 1e3, ratio, goal, "ok" if ratio >= goal else "MISSED"))
PY
