#!/bin/sh
# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
#
# add-spdx-headers.sh [file...]: puts the copyright and licence lines at the top of every
# tracked file that can carry a comment and has no SPDX licence line yet, in that file's own
# comment syntax, after a shebang or XML declaration. A file that must keep its bytes as they
# are (the guide, the Debian copyright and changelog, the fuzz corpora, pictures and sounds)
# gets the two lines in a file beside it named after it with ".license" added, which every
# release of the `reuse` tool reads. Running it again changes nothing. With no arguments it
# works on every tracked file; `reuse lint` checks the result.
set -eu
cd "$(dirname "$0")/.."

# Spelt in two pieces, so that licence checkers do not take these for this file's own lines.
tag=SPDX
copyright="$tag-FileCopyrightText: 2026 Mossgrovity"
licence="$tag-License-Identifier: GPL-3.0-or-later"

# The comment style for a file: "line <prefix>", "block <open> <close>", "beside", or nothing.
style() {
    case $1 in
    LICENSES/* | *.license) ;;
    tests/fuzz/*/* | data/quintagrid-guide.txt | data/debian-copyright | data/debian-changelog \
    | *.png | *.svg | *.wav)
        echo beside ;;
    *.cpp | *.h) echo "line //" ;;
    *.py | *.sh | *.cmake | CMakeLists.txt | */CMakeLists.txt | Makefile | .gitignore | .clang-format \
    | *.desktop)
        echo "line #" ;;
    *.xml | *.md) echo "block <!-- -->" ;;
    *.[1-9]) echo 'line .\"' ;;
    *) if head -c 2 "$1" | grep -q '^#!'; then echo "line #"; fi ;;
    esac
}

add_header() {
    file=$1
    [ -f "$file" ] || return 0
    # shellcheck disable=SC2046
    set -- $(style "$file")
    [ $# -gt 0 ] || return 0
    if [ "$1" = beside ]; then
        [ -e "$file.license" ] && return 0
        printf '%s\n%s\n' "$copyright" "$licence" > "$file.license"
        echo "licence file added: $file.license"
        return 0
    fi
    head -n 20 "$file" | grep -q "$tag-License-Identifier:" && return 0
    if [ "$1" = line ]; then
        header="$2 $copyright
$2 $licence"
    else
        header="$2 $copyright $3
$2 $licence $3"
    fi
    # A shebang or an XML declaration has to stay the first line.
    keep=0
    if head -n 1 "$file" | grep -q '^#!\|^<?xml'; then keep=1; fi
    tmp=$(mktemp)
    {
        [ "$keep" -eq 0 ] || head -n 1 "$file"
        printf '%s\n' "$header"
        tail -n +$((keep + 1)) "$file"
    } > "$tmp"
    cat "$tmp" > "$file"
    rm -f "$tmp"
    echo "header added: $file"
}

if [ $# -gt 0 ]; then
    for f in "$@"; do add_header "$f"; done
    exit 0
fi

git ls-files | while IFS= read -r f; do add_header "$f"; done
