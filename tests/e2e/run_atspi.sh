#!/bin/sh
# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
# run_atspi.sh <suite.py> <quintagrid> [tool...]: the game on a real accessibility bus, in a
# private D-Bus session with its own at-spi-bus-launcher and Xvfb, with Debian's
# python3-pyatspi and the system Python: read and played the way a screen reader does
# (atspi_game.py), or by keyboard while Orca itself listens (orca_game.py, which also needs
# the tools openbox and orca).
#
# Exit status: 0 passed, 1 failed, 77 skipped because a tool is missing (under CI=true a missing
# tool fails instead).
set -eu

here=$(dirname "$0")
python=/usr/bin/python3
launcher=/usr/libexec/at-spi-bus-launcher

missing=""
suite=$1
game=$2
shift 2
for tool in dbus-run-session dbus-daemon Xvfb xdotool xwininfo "$@"; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
[ -x "$launcher" ] || missing="$missing at-spi-bus-launcher"
if [ -x "$python" ]; then
    "$python" -c "import pyatspi" 2>/dev/null || missing="$missing python3-pyatspi"
else
    missing="$missing $python"
fi
if [ -n "$missing" ]; then
    echo "not installed:$missing"
    [ "${CI:-}" = true ] && exit 1
    exit 77
fi

export QUINTAGRID_ATSPI_LAUNCHER="$launcher"
exec dbus-run-session -- "$python" -W ignore::DeprecationWarning "$here/$suite" "$game"
