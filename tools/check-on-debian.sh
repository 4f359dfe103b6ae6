#!/bin/sh
# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
#
# check-on-debian.sh RELEASE [MIRROR]: runs the README's commands as a new player would, on a
# fresh minimal Debian RELEASE (bookworm, trixie, ...) made with debootstrap, and prints one
# line per step with its result and time:
#   make test, first run   in a clone of the current commit, in a shell that writes Python's
#                          bytecode caches and sets nothing else (as a login shell does)
#   make run               the game still running after 15 s with its high-score file made
#   make bench             the speed and memory table
#   make test, second run  the same checkout, after all of the above
#   make package           the Debian package
#   package installed      in a second fresh system, by apt; its launcher starts the game
# Needs root (debootstrap, chroot, mounts) and the Debian archive; takes 30 to 60 minutes.
# Everything lives in one folder under /var/tmp, whose mounts are undone and which is removed
# at the end, however the script ends; the steps' logs stay in the folder it names.
# Not part of `make test`.
set -eu

release=${1:?"usage: $0 RELEASE [MIRROR]   (for example: $0 trixie)"}
mirror=${2:-http://deb.debian.org/debian}
if [ "$(id -u)" -ne 0 ]; then
    echo "run as root: debootstrap, chroot and mounts need it" >&2
    exit 2
fi
command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap >/dev/null

top=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$top" rev-parse HEAD)
work=$(mktemp -d "/var/tmp/quintagrid-$release.XXXXXX")
logs=$(mktemp -d "/var/tmp/quintagrid-$release-logs.XXXXXX")
results="$logs/results"

unmount_all() {
    # Deepest first, so that nothing below a mount is left mounted.
    grep -o " $work/[^ ]*" /proc/mounts | sort -r | while read -r m; do umount -l "$m" || true; done
}
cleanup() {
    unmount_all
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# A system as debootstrap makes it, with the updates and security archives a real one has.
make_system() {
    root=$1
    debootstrap --variant=minbase "$release" "$root" "$mirror" > "$logs/debootstrap.log" 2>&1
    cat >> "$root/etc/apt/sources.list" <<EOF
deb $mirror $release-updates main
deb ${mirror%/debian}/debian-security $release-security main
EOF
}

mount_system() {
    root=$1
    # Its root a mount point, as on a real system: unshare and sway's namespaces need that.
    mount --bind "$root" "$root"
    mount -t proc proc "$root/proc"
    mount -t sysfs sys "$root/sys"
    mount --bind /dev/pts "$root/dev/pts"
    mount -t tmpfs shm "$root/dev/shm"
}

# in_system ROOT COMMAND: a login-like shell in ROOT, with no variable of this one's.
in_system() {
    chroot "$1" env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        LANG=C.UTF-8 TERM=dumb sh -c "$2"
}

# step NAME ROOT COMMAND: runs one step, logs it and prints its line.
step() {
    name=$1
    log="$logs/$(echo "$name" | tr ' ,' '--').log"
    start=$(date +%s)
    if in_system "$2" "$3" > "$log" 2>&1; then result=PASS; else result=FAIL; fi
    line=$(printf '%-4s  Debian %-9s %-22s %5d s' "$result" "$release" "$name" $(($(date +%s) - start)))
    echo "$line" | tee -a "$results"
}

# A program started in the background, alive after a while, then ended by SIGTERM with its
# process group; the check after it has to hold too.
started_and_alive='
    setsid "$@" > /tmp/started.log 2>&1 &
    pid=$!
    sleep 15
    kill -0 $pid 2>/dev/null && alive=yes || alive=no
    kill -TERM -$pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
    [ $alive = yes ]'

echo "Debian $release, commit $commit; logs in $logs"
make_system "$work/base"
cp -a "$work/base" "$work/player"
mv "$work/base" "$work/build"
for root in "$work/build" "$work/player"; do mount_system "$root"; done

step "set-up" "$work/build" "apt-get update -qq && apt-get install -y -qq git make >/dev/null"
git clone -q --no-hardlinks "$top" "$work/build/root/quintagrid"
git -C "$work/build/root/quintagrid" checkout -q --detach "$commit"

game="cd /root/quintagrid; run() { $started_and_alive; };"
step "make test, first run" "$work/build" "$game make test"
step "make run" "$work/build" "$game run xvfb-run -a make run && [ \$(wc -l < run/tavrinhs) -eq 10 ]"
step "make bench" "$work/build" "$game make bench"
# Nothing that the steps wrote is left in the source tree unignored.
step "make test, second run" "$work/build" "$game make test && [ -z \"\$(git status --porcelain)\" ]"
step "make package" "$work/build" "$game make package && cp build/quintagrid_*.deb /tmp/"
cp "$work/build/tmp/"quintagrid_*.deb "$work/player/tmp/" 2>/dev/null || true
step "package installed" "$work/player" "run() { $started_and_alive; }; apt-get update -qq \
    && apt-get install -y -qq /tmp/quintagrid_*.deb xvfb xauth >/dev/null \
    && run xvfb-run -a quintagrid-launcher && [ -f /root/.local/share/quintagrid/tavrinhs ]"

! grep -q '^FAIL' "$results"
