#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package tolvane_<version>_<arch>.deb with CPack and checks it with lintian.
# Usage: scripts/package.sh [build folder, default build] [output folder, default dist]
set -euo pipefail
cd "$(dirname "$0")/.."

build=$(realpath -m "${1:-build}")
out=$(realpath -m "${2:-dist}")
if [ ! -f "$build/CMakeCache.txt" ]; then
  # A fresh checkout: the build and the checks need their packages first.
  scripts/bootstrap.sh
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j"$(nproc)" --target tolvane tolvane-manpage tolvane-changelog
mkdir -p "$out"
rm -f "$out"/tolvane_*.deb
cpack --config "$build/CPackConfig.cmake" -B "$out/cpack" >"$out/cpack.log" || { cat "$out/cpack.log" >&2; exit 1; }
mv "$out"/cpack/tolvane_*.deb "$out"/
rm -rf "$out/cpack" "$out/cpack.log"
deb=$(ls "$out"/tolvane_*.deb)
# Errors fail the build; warnings are printed for the packager to read.
lintian --fail-on error --tag-display-limit 0 "$deb" >&2
echo "$deb"
