#!/bin/sh
# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
# run_compositor.sh mutter|kwin|weston <quintagrid> [-k pattern]: the game under a headless
# mutter (mutter_e2e.py), kwin_wayland (kwin_e2e.py) or weston (weston_e2e.py), through XWayland
# and natively, at scales 1 and 2. Their XWayland takes the first free X display, so the suite
# runs in private mount and network namespaces with a /tmp of its own, which needs root; its
# D-Bus session is its own too.
#
# Exit status: 0 passed, 1 failed, 77 skipped because a tool is missing or not run as root
# (under CI=true a missing tool fails instead).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
compositor=$1
case $compositor in
mutter) tools="mutter pipewire wireplumber gst-launch-1.0 gst-inspect-1.0 xdotool xprop" ;;
kwin) tools="kwin_wayland xdotool xprop" ;;
weston) tools="weston weston-screenshooter openssl xdotool" ;;
*) echo "usage: $0 mutter|kwin|weston <quintagrid> [-k pattern]" >&2; exit 2 ;;
esac
python=/usr/bin/python3 # the system Python, whose GObject bindings reach D-Bus
missing=""
for tool in $tools Xwayland dbus-run-session unshare ip; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
if [ -x "$python" ]; then
    "$python" -c "import gi" 2>/dev/null || missing="$missing python3-gi"
    [ "$compositor" != weston ] || "$python" -c "import gi; gi.require_version('GdkPixbuf', '2.0')" \
        2>/dev/null || missing="$missing gir1.2-gdkpixbuf-2.0"
else
    missing="$missing $python"
fi
if [ "$compositor" = mutter ] && [ -z "$missing" ] && ! gst-inspect-1.0 pipewiresrc >/dev/null 2>&1
then
    missing=" gstreamer1.0-pipewire"
fi
if [ -n "$missing" ]; then
    echo "not installed:$missing"
    [ "${CI:-}" = true ] && exit 1
    exit 77
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "needs root, for namespaces of its own"
    exit 77
fi
# The suite and the game run from a copy in a folder of their own: a checkout under /tmp is
# hidden by the suite's own /tmp.
copy=$(mktemp -d /var/tmp/quintagrid-compositor.XXXXXX)
trap 'rm -rf "$copy"' EXIT
cp "$here"/*.py "$copy"
cp "$2" "$copy/quintagrid"
shift 2
status=0
unshare --mount --net --propagation private sh -c '
    ip link set lo up
    mount -t tmpfs -o mode=1777 tmpfs /tmp
    mkdir -m 1777 /tmp/.X11-unix
    exec dbus-run-session -- "$0" "$@"' "$python" "$copy/${compositor}_e2e.py" "$copy/quintagrid" \
    "$@" || status=$?
exit $status
