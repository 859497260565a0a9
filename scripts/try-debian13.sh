#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the README's test command on a fresh Debian 13 root, as a new user would: builds the root
# with mmdebstrap, copies the working tree into it and runs scripts/test.sh there as root.
# For developers, not CI (it takes half an hour or more). Needs root and mmdebstrap.
#
# Usage: scripts/try-debian13.sh [--root DIR] [--setup-only] [-- ctest arguments]
#   --root DIR     build the root in DIR and keep it (reused when it already holds a system)
#   --setup-only   build the root and copy the tree, run nothing
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/debian13-root.sh

root="" keep=0 setup_only=0
while [ $# -gt 0 ]; do
  case "$1" in
    --root) root=$(realpath -m "$2"); keep=1; shift 2 ;;
    --setup-only) setup_only=1; shift ;;
    --) shift; break ;;
    *) echo "usage: $0 [--root DIR] [--setup-only] [-- ctest arguments]" >&2; exit 2 ;;
  esac
done
[ "$(id -u)" -eq 0 ] || { echo "try-debian13: run as root" >&2; exit 1; }
command -v mmdebstrap >/dev/null || { echo "try-debian13: apt-get install mmdebstrap" >&2; exit 1; }


if [ -z "$root" ]; then
  root=$(mktemp -d /var/tmp/tolvane-trixie.XXXXXX)
  rmdir "$root"
fi
cleanup() { [ "$keep" -eq 1 ] || rm -rf --one-file-system "$root"; }
trap cleanup EXIT

start=$(date +%s)
debian13_root "$root" try-debian13

# The working tree as it is now (tracked and new files), without build output.
copy_tree "$PWD" "$root/src"
echo "try-debian13: tree copied to $root/src ($(($(date +%s) - start)) s so far)"
[ "$setup_only" -eq 0 ] || exit 0

status=0
in_root "$root" own-run bash -c 'cd /src && nice -n 10 scripts/test.sh "$@"' test.sh "$@" || status=$?
elapsed=$(($(date +%s) - start))
printf 'try-debian13: scripts/test.sh exited %d after %dm%02ds\n' "$status" $((elapsed / 60)) $((elapsed % 60))
exit "$status"
