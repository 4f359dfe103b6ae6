#!/bin/sh
# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
# Formats every C++ file of the tree with the project's .clang-format.
#   tools/format.sh           rewrites the files in place (what `make format` runs)
#   tools/format.sh --check   changes nothing; fails and names the files that need formatting
#                             (a test: without clang-format it is skipped, exit 77, except
#                             under CI=true)
set -eu
cd "$(dirname "$0")/.."

if ! command -v clang-format >/dev/null 2>&1; then
    echo "clang-format is not installed"
    [ "${1:-}" = --check ] && [ "${CI:-}" != true ] && exit 77
    exit 1
fi

files=$(find game scoring highscores ui tests bench tools -name '*.cpp' -o -name '*.h' | sort)
if [ "${1:-}" = --check ]; then
    exec clang-format --dry-run --Werror $files
fi
exec clang-format -i $files
