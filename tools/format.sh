#!/bin/sh
# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
# Formats every C++ file of the tree with the project's .clang-format.
#   tools/format.sh           rewrites the files in place (what `make format` runs)
#   tools/format.sh --check   changes nothing; fails and names the files that need formatting
#                             (a test: without clang-format-19 it is skipped, exit 77, except
#                             under CI=true)
# One version is pinned because each release of clang-format lays out some code differently:
# clang-format-19 is in the main archive of both Debian 12 and Debian 13.
set -eu
cd "$(dirname "$0")/.."

formatter=clang-format-19
if ! command -v $formatter >/dev/null 2>&1; then
    echo "$formatter is not installed: the layout is not checked"
    [ "${1:-}" = --check ] && [ "${CI:-}" != true ] && exit 77
    exit 1
fi

files=$(find game scoring highscores ui tests bench tools -name '*.cpp' -o -name '*.h' | sort)
if [ "${1:-}" = --check ]; then
    exec $formatter --dry-run --Werror $files
fi
exec $formatter -i $files
