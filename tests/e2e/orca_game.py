# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""A whole game played by keyboard with Orca, the screen reader, listening: what Orca says at
each step is read from its debug file and checked. Run through run_atspi.sh, which provides the
D-Bus session; Orca runs with its default settings except that it has no speech server, so
every utterance goes only to the log.

QUINTAGRID_ORCA_RECORD=1 plays the same keys without checking and prints what is said.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import harness  # noqa: E402
from harness import GameTestCase, MAIN_SIZE, stop_process  # noqa: E402
from test_desktop import DesktopServer  # noqa: E402

RECORD = os.environ.get("QUINTAGRID_ORCA_RECORD") == "1"
# The Orca releases whose words the steps below expect (Debian 12's and Debian 13's), with the
# words in which they differ: what each calls a push button. Another release is recorded
# with QUINTAGRID_ORCA_RECORD=1, not checked.
BUTTON = {"43": "push button", "48": "button"}
# Words that no step may say: the kind of object an announcement came in, and a control said
# again, disabled, as the window it opened appears.
NEVER = r"^notification$|grayed"
NAME = "Ada"
ORCA_START = 60.0
COUNT_UP = 60.0
# Speech that has gone quiet this long is taken as finished.
QUIET = 0.5
MOST_WORDS = 15

# Orca from Debian with its debug file written line by line and no speech server; the
# settings folder is made with Orca's defaults on the first start.
ORCA = r"""
import builtins, importlib.machinery, importlib.util, sys
prefs, log = sys.argv[1], sys.argv[2]
loader = importlib.machinery.SourceFileLoader("orca_launcher", "/usr/bin/orca")
launcher = importlib.util.module_from_spec(importlib.util.spec_from_loader("orca_launcher", loader))
loader.exec_module(launcher)
from orca import settings
settings.speechServerFactory = None
launcher.otherOrcas = lambda: []  # this Orca serves only its own display and bus
launcher.open = lambda name, mode="r", *a, **k: builtins.open(name, mode, buffering=1)
sys.argv = ["orca", "-u", prefs, "--debug-file", log]
sys.exit(launcher.main())
"""

# The board filled in a snake, row by row, after the opening card in the top-left cell: each
# cell touches the one before it, so every placement is accepted.
SNAKE = [1, 2, 3, 4, 9, 8, 7, 6, 5, 10, 11, 12, 13, 14, 19, 18, 17, 16, 15, 20, 21, 22, 23, 24]


def arrow(start, end):
    """The arrow key that moves the cursor from one cell to a neighbour."""
    if end == start + 1:
        return "Right"
    if end == start - 1:
        return "Left"
    return "Down" if end == start + 5 else "Up"


class Speech:
    """What Orca says, read from its debug file as it grows."""

    def __init__(self, path):
        self.path = path
        self.offset = 0
        self.partial = b""

    def new(self):
        try:
            with open(self.path, "rb") as f:
                f.seek(self.offset)
                data = f.read()
        except FileNotFoundError:
            return []
        self.offset += len(data)
        lines = (self.partial + data).split(b"\n")
        self.partial = lines.pop()
        said = []
        for line in lines:
            m = re.search(rb"SPEECH OUTPUT: '(.*?)'\s*(?:\{.*)?$", line)
            if m:
                said.append(m.group(1).decode(errors="replace").strip())
        return [s for s in said if s]


class OrcaGameTest(GameTestCase):

    @classmethod
    def setUpClass(cls):
        cls.launcher = subprocess.Popen(
            [os.environ.get("QUINTAGRID_ATSPI_LAUNCHER", "/usr/libexec/at-spi-bus-launcher"),
             "--launch-immediately"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        cls.x = DesktopServer("openbox", ["openbox", "--sm-disable"])
        cls.home = tempfile.mkdtemp(prefix="quintagrid-orca-")
        cls.log = os.path.join(cls.home, "orca.log")
        cls.speech = Speech(cls.log)
        env = dict(cls.x.env, HOME=cls.home, XDG_CONFIG_HOME=os.path.join(cls.home, "config"),
                   XDG_DATA_HOME=os.path.join(cls.home, "data"))
        if not os.environ.get("QUINTAGRID_ORCA_KEEP"):
            cls.addClassCleanup(shutil.rmtree, cls.home, True)
        cls.orca = subprocess.Popen(
            ["/usr/bin/python3", "-W", "ignore", "-c", ORCA, os.path.join(cls.home, "orca"),
             cls.log], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        cls.x.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"

    @classmethod
    def tearDownClass(cls):
        stop_process(cls.orca)
        cls.x.stop()
        stop_process(cls.launcher)

    def setUp(self):
        super().setUp()
        self.transcript = []
        # Orca is ready once it has said that it is on.
        harness.poll(lambda: any("Screen reader on" in s for s in self.speech.new()), bool,
                     "Orca to start", ORCA_START)

    def step(self, name, keys, expect=None, timeout=harness.DEADLINE, words=MOST_WORDS,
             quiet=QUIET):
        """Presses `keys`, waits until Orca has said something matching `expect` (a regular
        expression) and has gone quiet; records and returns what it said."""
        for key in keys:
            self.x.xdotool("key", "--delay", "60", *key.split())
        said = []
        deadline = time.monotonic() + timeout
        quiet_since = time.monotonic()
        while time.monotonic() < deadline:
            new = self.speech.new()
            if new:
                said += new
                quiet_since = time.monotonic()
            matched = expect is None or any(re.search(expect, s) for s in said)
            if RECORD:  # an older build may never say it: no longer than a few seconds
                matched = matched or deadline - time.monotonic() < timeout - 4
                quiet = max(quiet, 1.0)
            if matched and time.monotonic() - quiet_since >= quiet:
                break
            time.sleep(0.05)
        self.transcript.append((name, said))
        print(f"  {name:<34} {' | '.join(said)}", flush=True)
        if not RECORD:
            self.assertTrue(expect is None or any(re.search(expect, s) for s in said),
                            f"{name}: expected {expect!r}, Orca said {said!r}")
            for s in said:
                self.assertLessEqual(len(s.split()), words, f"{name}: too long: {s!r}")
                self.assertNotRegex(s, NEVER, f"{name}: {said!r}")
        return said

    def move(self, name, keys, expect, timeout=harness.DEADLINE):
        """A step that moves the cursor: it says the one cell it reaches, never its row."""
        said = self.step(name, keys, expect, timeout)
        if not RECORD:
            self.assertEqual(len([s for s in said if s.startswith("Row ")]), 1, f"{name}: {said}")
        return said

    def test_a_whole_game_as_orca_speaks_it(self):
        self.x.move(0, 0)
        self.game = harness.Game(self.x, self.directory, 1)
        self.wait_for_window(MAIN_SIZE, "the main window")
        print("\nWhat Orca says:", flush=True)
        self.step("start", [], rf"Begin {self.button}")
        self.step("Tab round", ["Tab"] * 6, rf"Begin {self.button}")

        self.move("Begin", ["space"], r"^Row 1, column 2, empty", 30)
        self.move("a move to a refusing cell", ["Right"], r"^Row 1, column 3, empty")
        self.step("Space on it", ["space"], r"must touch a card")
        self.move("a move back", ["Left"], r"^Row 1, column 2, empty, takes")
        said = self.step("where-am-I twice, ten times", ["KP_Enter KP_Enter"] * 10, None,
                         words=60, quiet=2.0)
        if not RECORD:
            self.assertFalse([s for s in said if "placed" in s], said)
        self.step("a placement", ["space"], r" placed at row 1, column 2\. Next card: ")
        cursor = 1
        for cell in SNAKE[1:]:
            last = cell == SNAKE[-1]
            self.move(f"move to cell {cell}", [arrow(cursor, cell)], r"takes the card")
            cursor = cell
            if not last:
                self.step(f"placement in cell {cell}", ["space"], r" placed at row")
        said = self.step("the last placement", ["space"],
                         r"^High Score! Enter Name", COUNT_UP, words=MOST_WORDS)
        if not RECORD:
            joined = "\n".join(said)
            for line in [f"Row {n}" for n in range(1, 6)] + [f"Column {n}" for n in range(1, 6)]:
                self.assertRegex(joined, rf"(?m)^{line}: [^\n]*\b\d+ points?\.?$")
            total = [i for i, s in enumerate(said) if re.match(r"Total: \d+, a new high score", s)]
            window = [i for i, s in enumerate(said) if s.startswith("High Score! Enter Name")]
            self.assertTrue(total and window and total[0] < window[0], said)
            self.assertRegex(joined, r"(?m)^[^\n]+ placed at row 5, column 5\. The board is full")
            self.assertEqual(len([s for s in said if "Your score" in s]), 1, said)

        self.step("name typed", ["A d a"], None)
        said = self.step("Enter", ["Return"], rf"^Place \d+: {NAME}, \d+ points?, new entry")
        # One key at a time: Orca skips a focus that has already moved on.
        place = int(re.search(r"Place (\d+)", said[-1]).group(1)) if not RECORD else 1
        for n in range(place - 1, 0, -1):
            said += self.step(f"Up to place {n}", ["Up"], rf"^Place {n}: ")
        for n in range(2, 11):
            said += self.step(f"Down to place {n}", ["Down"], rf"^Place {n}: ")
        if not RECORD:
            places = {int(m.group(1)) for s in said for m in [re.match(r"Place (\d+): ", s)] if m}
            self.assertEqual(places, set(range(1, 11)), said)
        self.step("list closed", ["Escape"], rf"Begin {self.button}")
        # Each key once Orca has said where it went, as a listener waits: a button said late
        # would be said as it is by then, disabled behind the window it opened.
        self.step("to High Scores", ["Tab Tab"], rf"^High Scores {self.button}")
        said = self.step("High Scores", ["space"], rf"OK {self.button}")
        if not RECORD:
            self.assertEqual(len([s for s in said if s.startswith("High Scores dialog")]), 1, said)
        self.step("list closed", ["Escape"], rf"Begin {self.button}")
        self.step("to About", ["Tab Tab Tab"], rf"^About {self.button}")
        self.step("About", ["space"], r"About Quintagrid")
        self.step("About closed", ["Escape"], rf"Begin {self.button}")
        self.step("Shift+Tab", ["shift+Tab"], rf"^Exit {self.button}")
        self.x.xdotool("key", "space")
        print("  Exit pressed: the game ends", flush=True)
        self.assertEqual(self.game.wait_exit(), 0)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: orca_game.py <quintagrid>")
    harness.GAME = os.path.abspath(sys.argv.pop())
    version = subprocess.run(["orca", "--version"], capture_output=True, text=True).stdout
    release = "".join(version.split(".")[0].split()[-1:])
    if not RECORD and release not in BUTTON:
        print(f"the spoken steps are known for Orca {' and '.join(BUTTON)}, not for "
              f"{version.strip()}: skipped (QUINTAGRID_ORCA_RECORD=1 prints what it says)")
        sys.exit(77)
    OrcaGameTest.button = BUTTON.get(release, "button")
    unittest.main(verbosity=2)
