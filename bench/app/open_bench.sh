#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What routing a link costs: `tolvane --open URL` with 50 rules (the last one matching) beside
# starting the rule's browser directly, on one throwaway desktop with no display. The browser is a
# program that exits at once, so the difference is Tolvane's.
# Usage: bench/app/open_bench.sh path/to/tolvane
set -euo pipefail
bin=$(realpath "$1")
command -v hyperfine >/dev/null || { echo "open_bench: hyperfine missing"; exit 0; }

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
apps="$home/.local/share/applications"
mkdir -p "$apps" "$home/.config/tolvane" "$home/usr/share/applications" "$home/bin"
program="$home/bin/browser"
printf '#!/bin/sh\nexit 0\n' >"$program"
chmod +x "$program"
for i in $(seq 0 49); do
  printf '[Desktop Entry]\nType=Application\nName=Browser %d\nExec=%s %%u\nMimeType=text/html;x-scheme-handler/http;x-scheme-handler/https;\n' \
    "$i" "$program" >"$apps/org.bench.Browser$i.desktop"
done
{
  echo "# fifty rules; only the last names the link's site"
  for i in $(seq 0 48); do echo "site$i.example org.bench.Browser$((i % 50)).desktop"; done
  echo "*.example.com/wiki/* org.bench.Browser7.desktop"
} >"$home/.config/tolvane/links.rules"

export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
  XDG_DATA_DIRS="$home/usr/share" XDG_CONFIG_DIRS="$home/etc/xdg" XDG_CACHE_HOME="$home/.cache" \
  XDG_CURRENT_DESKTOP=
unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID DESKTOP_SESSION || true

"$bin" --set org.bench.Browser0.desktop
"$bin" --route on
[ "$("$bin" --route test https://www.example.com/wiki/Page)" = "org.bench.Browser7.desktop	50" ] ||
  { echo "open_bench: the 50th rule does not decide"; exit 1; }
url=https://www.example.com/wiki/Page
hyperfine -N --warmup 3 --runs 40 --style none --export-json "$home/open.json" \
  "$bin --open $url" "$program $url" >/dev/null
python3 - "$home/open.json" "$bin --open $url" "$program $url" <<'PY'
import json, sys
results = {r["command"]: r["median"] for r in json.load(open(sys.argv[1]))["results"]}
routed, direct = results[sys.argv[2]] * 1e3, results[sys.argv[3]] * 1e3
print("tolvane --open, 50 rules:  %6.2f ms   the browser started directly: %6.2f ms   "
      "difference %5.2f ms (goal <= 5 ms)" % (routed, direct, routed - direct))
PY
