#!/bin/sh
# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and starts the game through the installed
# launcher, as the desktop menu does: the game must run in the player's data directory, with
# the sample sounds and the guide beside it, and create its high-score file there.
set -eu
build=$1
work=$(mktemp -d)
game=""
cleanup() {
    # The game saves its table as it ends: the folder goes once it has.
    if [ -n "$game" ]; then
        kill "$game" 2>/dev/null || true
        wait "$game" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null

for f in bin/quintagrid bin/quintagrid-launcher \
         share/applications/quintagrid.desktop \
         share/metainfo/invalid.mossgrovity.quintagrid.metainfo.xml \
         share/icons/hicolor/scalable/apps/quintagrid.svg \
         share/icons/hicolor/16x16/apps/quintagrid.png \
         share/icons/hicolor/256x256/apps/quintagrid.png \
         share/quintagrid/quintagrid-guide.txt \
         share/quintagrid/sounds/tick1.wav share/quintagrid/sounds/tick2.wav \
         share/quintagrid/sounds/highscre.wav; do
    [ -e "$work/prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done

# The sound module, where the installed game looks for it: every library it needs is found,
# and it offers its entry.
module=$(find "$work/prefix" -path '*/quintagrid/quintagrid-sound.so')
[ -n "$module" ] || { echo "not installed: the sound module"; exit 1; }
if ldd "$module" | grep -q 'not found'; then
    echo "the sound module misses libraries:"; ldd "$module"; exit 1
fi
readelf --dyn-syms -W "$module" | grep -q ' quintagridMakeSoundPlayer$' \
    || { echo "the sound module has no entry"; exit 1; }

# A sound of the player's own must survive a start.
data="$work/home/.local/share/quintagrid"
mkdir -p "$data"
printf 'mine' > "$data/tick2.wav"

cd "$work"
HOME="$work/home" XDG_DATA_HOME= QT_QPA_PLATFORM=offscreen \
    "$work/prefix/bin/quintagrid-launcher" >/dev/null 2>&1 &
game=$!

tries=0
until [ -s "$data/tavrinhs" ]; do
    tries=$((tries + 1))
    [ "$tries" -le 100 ] || { echo "no high-score file in $data"; exit 1; }
    sleep 0.1
done
[ "$(wc -c < "$data/tavrinhs")" -eq 170 ] || { echo "unexpected high-score file"; exit 1; }
[ -e "$data/tick1.wav" ] && [ -e "$data/highscre.wav" ] || { echo "sounds not copied"; exit 1; }
[ "$(cat "$data/tick2.wav")" = mine ] || { echo "the player's own sound was replaced"; exit 1; }
[ -e "$data/quintagrid-guide.txt" ] || { echo "guide not beside the game"; exit 1; }
[ ! -e "$work/tavrinhs" ] || { echo "high scores written outside the data directory"; exit 1; }
echo "installed game starts in $data"
