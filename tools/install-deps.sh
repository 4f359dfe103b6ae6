#!/bin/sh
# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, testing and running Quintagrid need.
# Idempotent and silent when everything is already there; uses sudo when not root.
set -eu

packages="
cmake
g++
make
ninja-build
pkg-config
qt6-base-dev
qt6-multimedia-dev
qt6-svg-dev
qt6-qpa-plugins
qt6-wayland
libgl-dev
libxcb1-dev
libpulse-dev
fonts-dejavu-core
xvfb
xauth
xdotool
x11-utils
openbox
xfwm4
sway
iproute2
xwayland
wayvnc
grim
dbus-daemon
python3
dbus
at-spi2-core
python3-pyatspi
orca
pulseaudio
pulseaudio-utils
clang
clang-format-19
libclang-rt-dev
desktop-file-utils
appstream
dpkg-dev
file
reuse
"

missing=""
for p in $packages; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    if [ "$status" != "installed" ]; then
        missing="$missing $p"
    fi
done

[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
    sudo=""
else
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# shellcheck disable=SC2086
$sudo apt-get install -y -qq $missing >/dev/null
