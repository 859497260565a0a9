#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# GNOME 48 end to end, for developers (not CI): in a Debian 13 root, a headless gnome-shell on a
# private session bus (and a private system bus), xdg-desktop-portal with GNOME's back end, and
# Tolvane built and installed from a source tree. Tolvane asks for its stored shortcut
# (Ctrl+Alt+B, to a second browser); the script clicks Add in GNOME's "Add Keyboard Shortcuts"
# dialog and presses the keys, both through Mutter's remote desktop interface; then it starts
# Tolvane again, which must bring no dialog, and presses the keys once more. It exits 0 only when
# both presses made the second browser the default. Needs root and mmdebstrap.
#
# Usage: scripts/try-gnome48.sh [--root DIR] [--tree DIR] [--out DIR]
#   --root DIR   the Debian 13 root (built when missing, kept); a root of try-debian13.sh will do
#   --tree DIR   the Tolvane source tree to install (default: this checkout)
#   --out DIR    where the screenshots and logs go (default: a new folder under /tmp)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/debian13-root.sh

root="" keep=0 tree=$PWD out=""
while [ $# -gt 0 ]; do
  case "$1" in
    --root) root=$(realpath -m "$2"); keep=1; shift 2 ;;
    --tree) tree=$(realpath "$2"); shift 2 ;;
    --out) out=$(realpath -m "$2"); shift 2 ;;
    *) echo "usage: $0 [--root DIR] [--tree DIR] [--out DIR]" >&2; exit 2 ;;
  esac
done
[ "$(id -u)" -eq 0 ] || { echo "try-gnome48: run as root" >&2; exit 1; }
command -v mmdebstrap >/dev/null || { echo "try-gnome48: apt-get install mmdebstrap" >&2; exit 1; }
out=${out:-$(mktemp -d /tmp/tolvane-gnome48.XXXXXX)}
mkdir -p "$out"

if [ -z "$root" ]; then
  root=$(mktemp -d /var/tmp/tolvane-gnome48.XXXXXX)
  rmdir "$root"
fi
cleanup() { [ "$keep" -eq 1 ] || rm -rf --one-file-system "$root"; }
trap cleanup EXIT

desktop=(dbus gnome-shell gnome-control-center xdg-desktop-portal xdg-desktop-portal-gnome python3-gi
  gir1.2-glib-2.0 python3-pil xdg-utils libglib2.0-bin)

start=$(date +%s)
debian13_root "$root" try-gnome48

# The tree goes where try-debian13.sh puts it, so a shared root builds only what differs.
copy_tree "$tree" "$root/src"

# No /run/systemd/seats in an empty /run, so gnome-shell does not look for logind.
inside() { in_root "$root" fresh-run "$@"; }

echo "try-gnome48: installing the desktop and Tolvane"
inside bash -c "set -e
  missing=\$(for p in ${desktop[*]}; do dpkg-query -W -f='\${Status}' \$p 2>/dev/null | grep -q 'ok installed' || echo \$p; done)
  if [ -n \"\$missing\" ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \$missing
  fi
  cd /src && scripts/bootstrap.sh
  cmake --preset default >/dev/null
  nice -n 10 cmake --build --preset default --target tolvane tolvane-manpage tolvane-changelog
  cmake --install build --prefix /usr >/dev/null"
echo "try-gnome48: ready after $(($(date +%s) - start)) s"

mkdir -p "$root/root/gnome48"
cp scripts/try-gnome48-drive.py "$root/root/gnome48/drive.py"
rm -rf "$root/root/gnome48/out"
status=0
inside bash -c '
  set -euo pipefail
  mkdir -p /run/dbus /run/user/0 /tmp/home /root/gnome48/out
  chmod 700 /run/user/0
  dbus-daemon --system --fork
  export XDG_RUNTIME_DIR=/run/user/0 HOME=/tmp/home XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland
  export DBUS_SESSION_BUS_ADDRESS=unix:path=/run/user/0/bus
  dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --fork >/dev/null
  gsettings set org.gnome.desktop.interface enable-hot-corners false
  gnome-shell --headless --wayland --no-x11 --virtual-monitor 1280x800 >/root/gnome48/out/gnome-shell.log 2>&1 &
  export WAYLAND_DISPLAY=wayland-0
  exec python3 /root/gnome48/drive.py /root/gnome48/out $!' || status=$?
cp -r "$root/root/gnome48/out/." "$out/" 2>/dev/null || true
elapsed=$(($(date +%s) - start))
printf 'try-gnome48: %s after %dm%02ds; screenshots and logs in %s\n' \
  "$([ "$status" -eq 0 ] && echo PASSED || echo "FAILED ($status)")" $((elapsed / 60)) $((elapsed % 60)) "$out"
exit "$status"
