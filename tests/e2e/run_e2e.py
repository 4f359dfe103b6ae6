#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""End-to-end tests: the real game in its own Xvfb, without a window manager and then under
real ones (test_desktop.py), played with real pointer and key events; checks the windows, the
pixels, the keyboard focus and the high-score file.

By hand, from the source tree after a build:

    python3 tests/e2e/run_e2e.py build/ui/quintagrid            # every test
    python3 tests/e2e/run_e2e.py build/ui/quintagrid -k drag    # names containing "drag"

Needs Xvfb, xdotool and xwininfo (Debian: xvfb, xdotool, x11-utils) and Python 3's standard
library; the desktop scenarios also openbox and xfwm4 (with dbus-run-session), each skipped
when missing. With QUINTAGRID_E2E_ARTIFACTS=DIR set, a failed wait leaves a screenshot of the whole
screen (PPM) in DIR. Each test starts the game in a fresh temporary directory; nothing is
written elsewhere.

Exit status: 0 passed, 1 failed, 77 skipped because a tool is missing (under CI=true a missing
tool fails instead).
"""

import argparse
import os
import shutil
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))


class Result(unittest.TextTestResult):
    """Adds to each failure what the game wrote to stderr."""

    def addFailure(self, test, err):
        super().addFailure(test, err)
        self._add_game_output(self.failures, test)

    def addError(self, test, err):
        super().addError(test, err)
        self._add_game_output(self.errors, test)

    @staticmethod
    def _add_game_output(reports, test):
        output = test.game_output() if hasattr(test, "game_output") else None
        if output is not None and reports and reports[-1][0] is test:
            reports[-1] = (test, reports[-1][1] + "\nThe game's stderr:\n" + (output or "(empty)"))


def main():
    parser = argparse.ArgumentParser(description="Runs the end-to-end tests.")
    parser.add_argument("game", help="the quintagrid executable")
    parser.add_argument("-k", dest="patterns", action="append", default=[],
                        help="run only the tests whose names contain this")
    args = parser.parse_args()

    game = os.path.abspath(args.game)
    if not os.access(game, os.X_OK):
        print(f"not an executable: {game}")
        return 1
    os.environ["QUINTAGRID_E2E_GAME"] = game

    sys.path.insert(0, HERE)
    import harness

    missing = [tool for tool in harness.TOOLS if shutil.which(tool) is None]
    if missing:
        print("not installed: " + ", ".join(missing))
        return 1 if os.environ.get("CI") == "true" else 77

    loader = unittest.TestLoader()
    if args.patterns:
        loader.testNamePatterns = [f"*{p}*" for p in args.patterns]
    suite = loader.discover(HERE, pattern="test_*.py", top_level_dir=HERE)
    result = unittest.TextTestRunner(verbosity=2, resultclass=Result).run(suite)
    if result.testsRun == 0:
        print("no test ran")
        return 1
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
