#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds and runs every Google Benchmark program under bench/, then sets the in-process figures
# of the browser switch and listing beside whole-process runs of the desktop's own tools
# (xdg-settings, gio) on the very same temporary desktop.
set -euo pipefail
cd "$(dirname "$0")/.."

reps="${BENCH_REPETITIONS:-5}"
cmake --preset default >/dev/null
targets=$(sed -n 's/^ *add_executable(\([A-Za-z0-9_]*\).*/\1/p' bench/*/CMakeLists.txt 2>/dev/null | sort -u)
if [ -z "$targets" ]; then
  echo "bench: no benchmark programs"
  exit 0
fi
# shellcheck disable=SC2086
cmake --build build -j2 --target $targets tolvane

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TOLVANE_BENCH_FIXTURES="$work/desktops"
mkdir -p "$TOLVANE_BENCH_FIXTURES"

for target in $targets; do
  exe=$(find build/bench -type f -name "$target" -perm -u+x | head -n1)
  [ -n "$exe" ] || continue
  echo "== $target"
  case "$target" in
    PortalReleaseLatency) continue ;;  # printed beside the X11 figure below
    DesktopAdaptersBench)
      # One desktop per process: GLib reads the XDG folders once.
      part=0
      for filter in '/3$' '^(InstalledBrowsersWarm|SetAsDefaultVerified|GioOrderOnly|IndexOnly)/300$' 'Dpkg'; do
        part=$((part + 1))
        "$exe" --benchmark_filter="$filter" --benchmark_repetitions="$reps" \
          --benchmark_report_aggregates_only=true --benchmark_out="$work/$target-$part.json" \
          --benchmark_out_format=json
      done ;;
    *Bench)
      "$exe" --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
        --benchmark_out="$work/$target.json" --benchmark_out_format=json ;;
    *) "$exe" ;;  # stand-alone measurements print their own figures
  esac
done

echo "== whole application (private Xvfb with a tray host)"
python3 bench/app/app_bench.py build/app/ui/tolvane
echo "== a link whose rule says ask, until its picker is drawn"
python3 bench/app/link_picker_bench.py build/app/ui/tolvane 2>/dev/null
portal=$(find build/bench -type f -name PortalReleaseLatency -perm -u+x | head -n1)
if [ -n "$portal" ]; then
  echo "== the same key release through the GlobalShortcuts portal (xdg-desktop-portal, test back end)"
  "$portal" 50 2>/dev/null | grep '^portal'
fi

echo "== command line beside xdg-settings and gio (no display)"
for where in home outside; do
  for n in 3 50; do bench/app/cli_bench.sh build/app/ui/tolvane "$n" "$where"; done
done

echo "== a link routed by rules beside the browser started directly"
bench/app/open_bench.sh build/app/ui/tolvane

[ -f "$work/DesktopAdaptersBench-1.json" ] || exit 0
command -v hyperfine >/dev/null || { echo "bench: hyperfine missing, no side-by-side figures"; exit 0; }

for n in 3 300; do
  home="$TOLVANE_BENCH_FIXTURES/n$n"
  [ -d "$home" ] || continue
  (
    export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
      XDG_DATA_DIRS="$home/usr/share" XDG_CONFIG_DIRS="$home/etc/xdg" XDG_CACHE_HOME="$home/.cache" \
      XDG_CURRENT_DESKTOP=
    unset DISPLAY WAYLAND_DISPLAY KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID DESKTOP_SESSION || true
    hyperfine -N --warmup 3 --runs 20 --style none --export-json "$work/hyperfine-$n.json" \
      "xdg-settings set default-web-browser org.bench.Browser1.desktop" \
      "xdg-settings get default-web-browser" \
      "gio mime x-scheme-handler/https" >/dev/null
  )
done

python3 - "$work" <<'PY'
import json, sys, os
work = sys.argv[1]
ours = {}
import glob
for b in [b for part in sorted(glob.glob(os.path.join(work, "DesktopAdaptersBench-*.json")))
          for b in json.load(open(part))["benchmarks"]]:
    if b.get("aggregate_name") == "median":
        scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b.get("time_unit", "ns")]
        ours[b["run_name"]] = b["real_time"] * scale
print()
print("%-34s %12s   %-52s %12s %8s" % ("in process (median)", "time", "whole process (median)", "time", "ratio"))
for n in (3, 300):
    path = os.path.join(work, "hyperfine-%d.json" % n)
    if not os.path.exists(path):
        continue
    theirs = {r["command"]: r["median"] for r in json.load(open(path))["results"]}
    pairs = [("SetAsDefaultVerified/%d" % n, "xdg-settings set default-web-browser org.bench.Browser1.desktop"),
             ("InstalledBrowsersWarm/%d" % n, "xdg-settings get default-web-browser"),
             ("InstalledBrowsersWarm/%d" % n, "gio mime x-scheme-handler/https"),
             ("SetProfileAsDefaultVerified/%d" % n, "xdg-settings set default-web-browser org.bench.Browser1.desktop")]
    for mine, cmd in pairs:
        if mine in ours and cmd in theirs:
            print("%-34s %9.3f ms   %-52s %9.3f ms %7.1fx" % (mine, ours[mine] * 1e3, cmd, theirs[cmd] * 1e3,
                                                          theirs[cmd] / ours[mine]))
for mine in ("InstalledBrowsersWarm/300", "InstalledBrowsersWarmWithProfiles/300", "InstalledBrowsersDpkgWarm/300"):
    if mine in ours:
        print("%-34s %9.3f ms   (goal <= 1 ms)" % (mine, ours[mine] * 1e3))
print()
print("goals: switch <= 1 ms median, listing <= 1 ms at 300 entries (versions on, warm)")
PY
