#!/bin/sh
# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command against a private sound server whose only output is a null sink, so sound
# code can be measured on a machine with no speakers and no desktop session. The server keeps
# its socket and state in a temporary directory and stops when the command ends.
#
# Usage: bench/with-null-sink.sh <command> [argument...]
set -eu

if [ $# -eq 0 ]; then
    echo "usage: $0 <command> [argument...]" >&2
    exit 2
fi
if ! command -v pulseaudio >/dev/null 2>&1; then
    echo "$0: pulseaudio is not installed" >&2
    exit 1
fi

dir=$(mktemp -d "${TMPDIR:-/tmp}/null-sink.XXXXXX")
server=""
finish() {
    if [ -n "$server" ]; then
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
    rm -rf "$dir"
}
trap finish EXIT
trap 'exit 130' INT TERM

export XDG_RUNTIME_DIR="$dir"
export PULSE_SERVER="unix:$dir/native"

# Per-user mode also works for root; HOME keeps the server's cookie and state out of the real one.
HOME="$dir" pulseaudio --daemonize=no --use-pid-file=no --exit-idle-time=-1 --disallow-exit \
    --realtime=false --high-priority=false -n --log-target="file:$dir/server.log" \
    --load=module-null-sink \
    --load="module-native-protocol-unix socket=$dir/native auth-anonymous=1" &
server=$!

tries=0
until pactl info >/dev/null 2>&1; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$server" 2>/dev/null; then
        echo "$0: the sound server did not start:" >&2
        cat "$dir/server.log" >&2 2>/dev/null || true
        exit 1
    fi
    sleep 0.1
done

status=0
"$@" || status=$?
exit "$status"
