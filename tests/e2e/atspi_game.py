# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""The game as a screen reader meets it, on a real AT-SPI bus: roles, names and actions of the
controls, then a whole game played through press actions alone, counting the renaming events
each placement sends. Run through run_atspi.sh, which provides the D-Bus session.

Prints, step by step, what a screen reader is told.
"""

import os
import re
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import pyatspi  # noqa: E402  (Debian's python3-pyatspi, with the system Python)
from gi.repository import GLib  # noqa: E402

import harness  # noqa: E402
from harness import MAIN_SIZE, GameTestCase, stop_process  # noqa: E402

NAME = "Ada Reader"
# A renaming per placement beyond this many would flood a screen reader: the cell, the
# offered card and the neighbours that now take the card.
MOST_RENAMES_PER_PLACEMENT = 10
COUNT_UP_DEADLINE = 60.0


def pump():
    """Delivers the events that have arrived."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def children(acc):
    return [acc.getChildAtIndex(i) for i in range(acc.childCount)]


def find(root, role, name=None):
    """The first object under root, breadth first, with this role and (if given) name."""
    queue = [root]
    while queue:
        acc = queue.pop(0)
        if acc is None:
            continue
        if acc.getRole() == role and (name is None or acc.name == name):
            return acc
        queue.extend(children(acc))
    return None


def press(acc):
    """Runs the object's press action, as a screen reader's activate command does."""
    action = acc.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    index = [n.lower() for n in names].index("press")
    return action.doAction(index)


def say(step, what):
    print(f"  {step:<34} {what}", flush=True)


class ScreenReaderTest(GameTestCase):

    @classmethod
    def setUpClass(cls):
        cls.launcher = subprocess.Popen(
            [os.environ.get("QUINTAGRID_ATSPI_LAUNCHER", "/usr/libexec/at-spi-bus-launcher"),
             "--launch-immediately"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        super().setUpClass()
        cls.x.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"

    @classmethod
    def tearDownClass(cls):
        super().tearDownClass()
        stop_process(cls.launcher)

    def setUp(self):
        super().setUp()
        self.events = []
        self.listener = lambda event: self.events.append(
            (event.type, event.source.name if event.source else "", event.source))
        self.kinds = ("object:property-change:accessible-name",
                      "object:property-change:accessible-description", "focus:",
                      "object:state-changed:focused")
        pyatspi.Registry.registerEventListener(self.listener, *self.kinds)
        self.addCleanup(pyatspi.Registry.deregisterEventListener, self.listener, *self.kinds)

    def until(self, probe, what, timeout=harness.DEADLINE):
        """Pumps events and calls probe() until it gives something true; returns that."""
        def pumped():
            pump()
            try:
                return probe()
            except Exception:  # an object still being built, or gone
                return None
        return self.wait(pumped, bool, what, timeout)

    def application(self):
        desktop = pyatspi.Registry.getDesktop(0)
        return next((app for app in children(desktop)
                     if app is not None and app.name.lower() == "quintagrid"), None)

    def window(self, role, name, timeout=harness.DEADLINE):
        return self.until(lambda: find(self.application(), role, name),
                          f"the {name} window on the bus", timeout)

    def renames(self):
        return [e for e in self.events if e[0] == "object:property-change:accessible-name"]

    def test_roles_names_actions_and_a_game_played_with_press_actions(self):
        self.game = harness.Game(self.x, self.directory, 1)
        self.wait_for_window(MAIN_SIZE, "the main window")
        main = self.window(pyatspi.ROLE_FRAME, "Quintagrid")
        print("\nWhat a screen reader is told:", flush=True)

        # Roles, names and actions.
        buttons = {name: find(main, pyatspi.ROLE_PUSH_BUTTON, name)
                   for name in ("Begin", "High Scores", "About", "Minimize", "Exit")}
        for name, button in buttons.items():
            self.assertIsNotNone(button, name)
            self.assertIn("press", [button.queryAction().getName(i).lower()
                                    for i in range(button.queryAction().nActions)])
        begin = buttons["Begin"]
        self.until(lambda: begin.getState().contains(pyatspi.STATE_FOCUSED), "Begin focused")
        say("start", f"{main.name} frame; focus on {begin.name} push button")
        grid = find(main, pyatspi.ROLE_PANEL, "Board")
        self.assertEqual(grid.childCount, 25)
        cell = grid.getChildAtIndex(7)
        self.assertEqual(cell.getRole(), pyatspi.ROLE_TABLE_CELL)
        self.assertEqual(cell.name, "Row 2, column 3, empty")
        try:  # rows and columns too, built with a Qt before 6.8
            table = grid.queryTable()
        except NotImplementedError:
            table = None
        if table is not None:
            self.assertEqual((table.nRows, table.nColumns), (5, 5))
            self.assertEqual(table.getAccessibleAt(1, 2), cell)
            self.assertEqual((table.getRowAtIndex(7), table.getColumnAtIndex(7)), (1, 2))
        self.assertIsNotNone(find(main, pyatspi.ROLE_LABEL, "Straight Flush: 30 points"))
        offered = find(main, pyatspi.ROLE_IMAGE)
        self.assertEqual(offered.name, "Card to place")

        # About: a dialog whose text has a caret, read line by line.
        press(buttons["About"])
        about = self.window(pyatspi.ROLE_DIALOG, "About Quintagrid")
        text = find(about, pyatspi.ROLE_TEXT).queryText()
        line = text.getTextAtOffset(0, pyatspi.TEXT_BOUNDARY_LINE_START)[0]
        self.assertEqual(line.strip(), "Quintagrid 1.0")
        self.assertGreaterEqual(text.caretOffset, 0)
        say("About", f"dialog {about.name}: text, first line {line.strip()!r}")
        press(find(about, pyatspi.ROLE_PUSH_BUTTON, "OK"))
        self.until(lambda: find(self.application(), pyatspi.ROLE_DIALOG) is None, "About closed")

        # A whole game with press actions alone.
        press(begin)
        first = grid.getChildAtIndex(0)
        self.until(lambda: first.name != "Row 1, column 1, empty", "the opening card")
        say("Begin pressed", f"{first.name}; {offered.name}")
        counts = []
        for placement in range(1, 25):
            cells = [grid.getChildAtIndex(i) for i in range(25)]
            target = next(c for c in cells if c.name.endswith(", takes the card"))
            card = offered.name.split(": ", 1)[1]
            pump()
            self.events.clear()
            press(target)
            self.until(lambda: target.name.endswith(card), f"placement {placement}")
            pump()
            renamed = [e[1] for e in self.renames()]
            # A placement ends with the offered-card box; after the last one the count-up's
            # labels follow, which belong to the count-up.
            ends = [i for i, e in enumerate(self.renames()) if e[2] == offered]
            self.assertTrue(ends, renamed)
            renamed = renamed[:ends[0] + 1]
            counts.append(len(renamed))
            if placement in (1, 2, 24):
                say(f"placement {placement}", f"{len(renamed)} renamed: {renamed}")
        print(f"  renaming events per placement: {counts}", flush=True)
        self.assertLessEqual(max(counts), MOST_RENAMES_PER_PLACEMENT, counts)
        self.assertEqual(offered.name, "No card left to place: the board is full")

        # The count-up: at its end the total says what it made.
        made = re.compile(r"^Total: [0-9]+, (a new high score|not a high score)$")
        total = self.until(
            lambda: next((a for a in children(main) if a is not None
                          and a.getRole() == pyatspi.ROLE_LABEL and made.match(a.name)),
                         None), "the total", COUNT_UP_DEADLINE)
        say("after the count-up", f"the total is {total.name!r}")

        name = self.window(pyatspi.ROLE_DIALOG, "High Score! Enter Name", COUNT_UP_DEADLINE)
        entry = next(a for a in (find(name, pyatspi.ROLE_TEXT), find(name, pyatspi.ROLE_ENTRY))
                     if a is not None)
        self.assertEqual(entry.name, "High Score! Enter Name")
        # The score is described once: by the window, or by the name box where a screen
        # reader would say the window's description twice (Qt 6.8 and later).
        described = name.description + entry.description
        score = re.fullmatch(r"Your score: ([0-9]+)", described)
        self.assertIsNotNone(score, described)
        say("name window", f"dialog {name.name!r}, {name.description!r}; entry {entry.name!r}, "
            f"{entry.description!r}")
        entry.queryEditableText().setTextContents(NAME)
        press(find(name, pyatspi.ROLE_PUSH_BUTTON, "OK"))

        scores = self.window(pyatspi.ROLE_DIALOG, "High Scores")
        points = "1 point" if score.group(1) == "1" else f"{score.group(1)} points"
        entry = f"Place 1: {NAME}, {points}, new entry"
        self.until(lambda: find(scores, pyatspi.ROLE_LABEL, entry).getState().contains(
            pyatspi.STATE_FOCUSED), "the new entry focused")
        say("high-score list", f"dialog {scores.name!r}, focus on {entry!r}")
        press(find(scores, pyatspi.ROLE_PUSH_BUTTON, "OK"))
        self.until(lambda: find(self.application(), pyatspi.ROLE_DIALOG) is None, "list closed")

        try:
            press(buttons["Exit"])
        except Exception:
            pass  # the game may end before it answers
        self.assertEqual(self.wait_exit(), 0)
        record = self.game.file().split(b"\r\n")[0]
        self.assertEqual(record, b'"%s",%s' % (NAME.encode(), score.group(1).encode()))
        say("Exit pressed", f"the game ends; the file starts {record.decode()!r}")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: atspi_game.py <quintagrid>")
    harness.GAME = os.path.abspath(sys.argv.pop())
    unittest.main(verbosity=2)
