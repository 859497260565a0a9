# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the try-*.sh scripts: a Debian 13 root they share, and the working tree copied into it.

# Builds a trixie root in $1 unless one is there, from the mirror the machine's own apt uses, and
# makes it fit to run a session in. $2 names the caller in messages.
debian13_root() {
  local root=$1 who=$2 mirror
  mirror=$(grep -rhoE '(URIs:|deb) +https?://[^ ]*/debian/?( |$)' /etc/apt/sources.list /etc/apt/sources.list.d \
    2>/dev/null | head -n1 | awk '{print $2}' || true)
  mirror=${mirror:-http://deb.debian.org/debian}
  mirror=${mirror%/}
  if [ ! -f "$root/etc/debian_version" ]; then
    echo "$who: building a Debian 13 root in $root from $mirror"
    mmdebstrap --variant=apt --include=ca-certificates trixie "$root" \
      "deb $mirror trixie main" "deb $mirror trixie-updates main" "deb ${mirror}-security trixie-security main"
  fi
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  # A booted machine has an id; dbus-daemon and Qt read it.
  [ -s "$root/etc/machine-id" ] && ! grep -q uninitialized "$root/etc/machine-id" ||
    od -An -N16 -tx1 /dev/urandom | tr -d ' \n' >"$root/etc/machine-id"
}

# Copies a checkout's files (tracked and new) into DEST. A kept root keeps its build folder: files
# whose content changed get a new time stamp, the others keep theirs, so the build redoes only
# what changed.
copy_tree() {
  local from=$1 dest=$2 stage
  stage=$(mktemp -d "$dest.XXXXXX")
  git -C "$from" ls-files -z --cached --others --exclude-standard |
    tar -C "$from" --null -T - -cf - | tar -xf - -C "$stage"
  if [ -d "$dest" ]; then
    (cd "$stage" && find . -type f -o -type l) | while IFS= read -r f; do
      if cmp -s "$stage/$f" "$dest/$f"; then cp -p "$dest/$f" "$stage/$f"; else touch -h "$stage/$f"; fi
    done
    [ -d "$dest/build" ] && mv "$dest/build" "$stage/build"
    rm -rf "$dest"
  fi
  mv "$stage" "$dest"
}

# Runs a command in the root ($1) within a private mount and PID namespace: the mounts and every
# process started inside end with it. With "fresh-run" as $2, /run starts empty as after a boot
# (else the root's own /run is used). The command gets a clean environment.
in_root() {
  unshare --mount --pid --fork --propagation private bash -s "$@" <<'INNER'
set -euo pipefail
root=$1 run=$2; shift 2
mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys"
mount --rbind /dev "$root/dev"
mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
[ "$run" != fresh-run ] || mount -t tmpfs -o mode=755 tmpfs "$root/run"
exec chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  LANG=C.UTF-8 TERM="${TERM:-dumb}" "$@"
INNER
}
