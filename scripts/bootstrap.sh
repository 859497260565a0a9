#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, running and testing Tolvane need.
# Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
  # build
  g++ cmake ninja-build pkg-config clang-format clang-tidy
  qt6-base-dev qt6-base-private-dev qt6-svg-dev qt6-l10n-tools qt6-tools-dev qt6-tools-dev-tools qt6-qpa-plugins qcoro-qt6-dev
  libglib2.0-dev libgdk-pixbuf-2.0-dev librsvg2-common libxcb1-dev libxcb-keysyms1-dev libxcb-xkb-dev libxkbcommon-dev libxkbcommon-x11-dev
  librpm-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth xdotool x11-xkb-utils x11-utils trayer dbus dbus-x11 xdg-utils libglib2.0-bin
  desktop-file-utils appstream python3 imagemagick hyperfine procps openssl
  # Node's URL: the reference reading of web links that WebLink is checked against
  nodejs
  fonts-dejavu-core fonts-noto-color-emoji
  # Wayland, portals and packaging peers
  weston qt6-wayland xdg-desktop-portal rpm dpkg-dev lintian help2man
  # Qt's own texts (dialog buttons) in German and French
  qt6-translations-l10n
  # a real StatusNotifier panel, and the accessibility stack that reads its menus
  xfce4-panel xfconf at-spi2-core python3-pyatspi
  # the desktops' own link openers and default-browser settings (XFCE, KDE)
  exo-utils xfce4-settings xfce4-helpers kde-cli-tools libkf5config-bin
  # Plasma's shortcut portal for real: KWin, its portal back end (a Qt 5 program), fake-input protocol
  kwin-wayland xdg-desktop-portal-kde qtwayland5 plasma-wayland-protocols libwayland-dev
  # a fresh activation token for a started browser: the xdg-activation protocol over Qt's connection
  wayland-protocols
  # real browsers whose profiles are offered as choices
  firefox-esr chromium
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

# Packages only later releases have, asked for where apt knows them: Qt's SVG icon and image
# plugins (inside libqt6svg6 on Debian 12, their own package, only recommended, from Debian 13 on;
# without them the tray icon is blank), and Plasma 6's kreadconfig6, which xdg-settings calls there.
later=()
compgen -G "/usr/lib/*/qt6/plugins/iconengines/libqsvgicon.so" >/dev/null || later+=(qt6-svg-plugins)
command -v kreadconfig6 >/dev/null || later+=(libkf6config-bin)
# Plasma 6's tray service (kded6 runs it; the module is plasma-workspace's) and Qt integration, and
# GNOME 48 with its AppIndicator extension: the tray tests run against them where Debian ships them
# (13 on; Debian 12's are Qt 5 and GNOME 43), known there by kded6.
trixie_tray=(kded6 plasma-workspace plasma-integration gnome-shell gnome-shell-extension-appindicator)
add_known_later() {
  local p
  for p in "${later[@]}"; do
    [[ " ${missing[*]} " == *" $p "* ]] || ! apt-cache show "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  apt-cache show kded6 >/dev/null 2>&1 || return 0
  for p in "${trixie_tray[@]}"; do
    [[ " ${missing[*]} " == *" $p "* ]] || dpkg-query -W -f='${Status}' "$p" 2>/dev/null |
      grep -q "install ok installed" || missing+=("$p")
  done
}
add_known_later

if [ ${#missing[@]} -eq 0 ]; then
  echo "bootstrap: all packages present"
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "bootstrap: need root or sudo to install packages" >&2; exit 1; }
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
add_known_later
echo "bootstrap: installing ${missing[*]}"
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
