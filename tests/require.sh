#!/bin/sh
# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
# require.sh <program> [args...]: runs the program; when it is not installed the test is
# skipped (exit 77), except under CI=true, where a missing tool fails the run.
program=$1
if ! command -v "$program" >/dev/null 2>&1; then
    echo "$program is not installed"
    [ "${CI:-}" = true ] && exit 1
    exit 77
fi
exec "$@"
