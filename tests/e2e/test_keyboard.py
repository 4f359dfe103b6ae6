# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""A whole game played with the keyboard alone: not one pointer event from start to exit."""

import re

from harness import (ENTER_NAME_SIZE, HIGH_SCORES_SIZE, MAIN_SIZE, NORMAL, Game, GameTestCase,
                     cell_centre)

SEED = 1
COUNT_UP_DEADLINE = 60.0
NAME = "Kay Board"


def snake():
    """The cells in the order the cursor walks them from cell 1: along the top row, back along
    the next, and so on. Each touches the one before, so every one takes its card."""
    order = []
    for row in range(5):
        columns = range(5) if row % 2 == 0 else range(4, -1, -1)
        order += [row * 5 + column for column in columns]
    return order[1:]


def arrow(from_cell, to_cell):
    step = to_cell - from_cell
    return {1: "Right", -1: "Left", 5: "Down"}[step]


class KeyboardGameTest(GameTestCase):

    def focused(self):
        return self.x.xdotool("getwindowfocus").strip()

    def wait_for_focus(self, window, what):
        self.wait(self.focused, lambda w: w == str(window.id), f"the keyboard focus in {what}")

    def key(self, *names):
        self.x.xdotool("key", "--delay", 30, *names)

    def test_a_whole_game_from_begin_to_exit_with_keys_only(self):
        # No pointer move before the start either: the game must take the keyboard itself.
        self.game = Game(self.x, self.directory, SEED)
        main = self.wait_for_window(MAIN_SIZE, "the main window")
        self.wait_for_pixel(main, cell_centre(0), NORMAL, "the board drawn")
        self.wait_for_focus(main, "the main window")

        self.key("Return")  # Begin has the focus at start
        self.wait_for_card(main, 0)
        cells = snake()
        self.key("Return")  # the cursor starts on cell 1, which takes the card
        self.wait_for_card(main, cells[0])
        for before, cell in zip(cells, cells[1:]):
            self.key(arrow(before, cell), "space" if cell % 2 else "Return")
            self.wait_for_card(main, cell)

        name = self.wait_for_window(ENTER_NAME_SIZE, "the name window", COUNT_UP_DEADLINE)
        self.wait_for_focus(name, "the name window")
        self.x.xdotool("type", "--delay", 20, NAME)
        self.key("Return")

        scores = self.wait_for_window(HIGH_SCORES_SIZE, "the high-score list")
        self.wait_for_focus(scores, "the high-score list")
        self.key("Return")
        self.wait_until_gone(HIGH_SCORES_SIZE, "the high-score list")

        # Back on the main window the focus is on Begin; Exit is one Shift+Tab before it.
        self.wait_for_focus(main, "the main window again")
        self.key("shift+Tab", "Return")
        self.assertEqual(self.wait_exit(), 0)
        first = self.game.file().split(b"\r\n")[0]
        self.assertRegex(first, rb'^"' + re.escape(NAME.encode()) + rb'",[1-9][0-9]*$')

    def test_space_while_a_screen_readers_modifier_is_held_places_no_card(self):
        # A screen reader takes Insert for itself, so the game may never see its press; it
        # asks the keyboard. The press goes to another window here, as it would to the reader.
        self.game = Game(self.x, self.directory, SEED)
        main = self.wait_for_window(MAIN_SIZE, "the main window")
        self.wait_for_focus(main, "the main window")
        self.key("Return")
        self.wait_for_card(main, 0)
        root = re.search(r"Window id: (0x[0-9a-f]+)", self.x.run("xwininfo", "-root")).group(1)
        # Off the game: with the focus on the root, keys go to the window under the pointer.
        self.x.move(0, 0)
        self.x.xdotool("windowfocus", "--sync", int(root, 16))
        self.x.xdotool("keydown", "Insert")
        try:
            self.x.xdotool("windowfocus", "--sync", main.id)
            self.wait_for_focus(main, "the main window")
            self.key("space")
        finally:
            self.x.xdotool("keyup", "Insert")
        # Cell 3 takes the card only if the Space above placed one in cell 2.
        self.key("Right", "space", "Left", "space")
        self.wait_for_card(main, 1)
        self.assertEqual(self.pixel(main, cell_centre(2)), NORMAL)
