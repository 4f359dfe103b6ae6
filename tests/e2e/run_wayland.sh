#!/bin/sh
# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
# run_wayland.sh <quintagrid> [-k pattern]: the game under a headless sway, natively and through
# XWayland, at scales 1 and 2 (wayland_e2e.py). sway refuses to run as root and its XWayland
# takes the first free X display, so the suite needs root: it runs in private mount and network
# namespaces, and sway, wayvnc and the game as the user nobody.
#
# Exit status: 0 passed, 1 failed, 77 skipped because a tool is missing or not run as root
# (under CI=true a missing tool fails instead).
set -eu

here=$(dirname "$0")
missing=""
for tool in python3 sway swaymsg wayvnc grim Xwayland unshare setpriv ip; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
if [ -n "$missing" ]; then
    echo "not installed:$missing"
    [ "${CI:-}" = true ] && exit 1
    exit 77
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "needs root, to run sway as another user in namespaces of its own"
    exit 77
fi
# The game runs as nobody from a copy of the executable in a folder of its own: nobody may not
# reach into the checkout (a home folder of mode 700), and a checkout under /tmp is hidden by the
# suite's own /tmp. Without the sound module beside it the game is silent, which this suite does
# not listen to.
game=$1
shift
copy=$(mktemp -d /var/tmp/quintagrid-wayland.XXXXXX)
chmod 755 "$copy"
cp "$game" "$copy/quintagrid"
game="$copy/quintagrid"

status=0
unshare --mount --net --propagation private python3 "$here/wayland_e2e.py" "$game" "$@" || status=$?
rm -rf "$copy"
exit $status
