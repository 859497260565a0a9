#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is needed, builds Tolvane and starts it in the current graphical session.
# Without a graphical session it starts a virtual display with a tray host, opens the menu,
# saves a screenshot and keeps Tolvane running until interrupted.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/bootstrap.sh
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)" --target tolvane
bin="$PWD/build/app/ui/tolvane"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin" "$@"
fi

echo "No graphical session (neither DISPLAY nor WAYLAND_DISPLAY is set)."
echo "Starting a virtual display with a tray host so you can see Tolvane work."

pids=()
# Each helper runs in its own process group, so stopping it stops what it started too.
cleanup() { for p in "${pids[@]}"; do kill -- "-$p" 2>/dev/null || kill "$p" 2>/dev/null || true; done; }
trap cleanup EXIT INT TERM

# Xvfb picks a free display itself (it also sees numbers taken through abstract sockets) and
# writes it to the file once it accepts connections.
number_file=$(mktemp)
setsid Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$number_file" >/dev/null 2>&1 &
pids+=($!)
display=""
for _ in $(seq 600); do
  display=$(head -n1 "$number_file")
  [ -n "$display" ] && break
  kill -0 "${pids[0]}" 2>/dev/null || break
  sleep 0.1
done
rm -f "$number_file"
[ -n "$display" ] || { echo "run: the virtual display did not start" >&2; exit 1; }
export DISPLAY=":$display"

setsid trayer --edge top --align right --widthtype request --height 28 --SetDockType true \
  --transparent false --tint 0x303030 --expand true >/dev/null 2>&1 &
pids+=($!)
sleep 1

export QT_QPA_PLATFORM=xcb
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  chmod 700 "$XDG_RUNTIME_DIR"
  export XDG_RUNTIME_DIR
fi
setsid dbus-run-session -- "$bin" "$@" &
pids+=($!)

# Wait for the icon to dock, then click it to open the menu.
icon=""
for _ in $(seq 100); do
  icon=$(xdotool search --classname tolvane 2>/dev/null | head -n1 || true)
  [ -n "$icon" ] && break
  sleep 0.1
done
if [ -n "$icon" ]; then
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$icon")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
  sleep 1
  shot="${TMPDIR:-/tmp}/tolvane-menu.png"
  import -window root "$shot"
  echo "Tolvane is running on the virtual display $DISPLAY; its menu is open."
  echo "Screenshot: $shot"
else
  echo "run: the tray icon did not appear" >&2
fi
echo "Press Ctrl+C to stop."
wait "${pids[2]}"
