# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""A whole game played with the pointer, the name typed in, and the high-score file the game
leaves behind."""

import re

from harness import (BEGIN, ENTER_NAME_SIZE, EXIT, HIGH_SCORES_SIZE, REFUSES, SCORES_OK,
                     GameTestCase, button_centre, cell_centre)

SEED = 1
DEFAULT_FILE = b'"Mossgrovity",0\r\n' * 10

# The count-up after the last card takes a few seconds of paced waits.
COUNT_UP_DEADLINE = 60.0

# The first ten characters are kept: the name box takes no more.
TYPED = "Ann Example"
KEPT = b"Ann Exampl"


def edge_of(i):
    """A pixel of cell i's right-hand edge outside its card, where its back colour shows even
    when the cell holds a card: only the cells of the last column have one uncovered."""
    assert i % 5 == 4
    return (16 + 48 * 4 + 48, 16 + 64 * (i // 5) + 32)


class WholeGameTest(GameTestCase):

    def test_a_whole_game_puts_the_typed_name_first_in_the_high_score_file(self):
        main = self.start_game(seed=SEED)
        self.wait(self.game.file, lambda data: data == DEFAULT_FILE,
                  "the default high-score file created at start")

        self.click(main, button_centre(BEGIN))
        self.wait_for_card(main, 0)
        for i in range(1, 25):
            self.click(main, cell_centre(i))
            self.wait_for_card(main, i)
            if i == 4:
                # A cell that holds a card refuses another.
                self.move(main, (cell_centre(4)[0] + 3, cell_centre(4)[1]))
                self.wait_for_pixel(main, edge_of(4), REFUSES, "cell 4, holding a card, refusing")

        name = self.wait_for_window(ENTER_NAME_SIZE, "the name window", COUNT_UP_DEADLINE)
        self.assertCentred(name)
        self.assertEqual(self.windows()[0], name, "the name window is in front")
        self.wait(lambda: self.x.xdotool("getwindowfocus").strip(), lambda w: w == str(name.id),
                  "the keyboard focus in the name window")
        self.x.xdotool("type", "--delay", 20, TYPED)
        self.x.xdotool("key", "Return")

        scores = self.wait_for_window(HIGH_SCORES_SIZE, "the high-score list")
        self.assertIsNone(self.find(ENTER_NAME_SIZE), "the name window closes")
        self.assertCentred(scores)
        self.click(scores, button_centre(SCORES_OK))
        self.wait_until_gone(HIGH_SCORES_SIZE, "the high-score list")

        # The main window takes the pointer again; after the game every cell refuses.
        self.move(main, cell_centre(24))
        self.wait_for_pixel(main, edge_of(24), REFUSES, "cell 24 refusing after the game")
        # Saved when the name was accepted; Exit writes the same table again.
        accepted = self.game.file()
        self.assertNotEqual(accepted, DEFAULT_FILE, "the accepted name is saved at once")

        self.click(main, button_centre(EXIT))
        self.assertEqual(self.wait_exit(), 0)
        self.assertEqual(self.game.file(), accepted)
        records = self.game.file().split(b"\r\n")
        self.assertEqual(len(records), 11, records)
        self.assertEqual(records[10], b"", "the file ends with the tenth record's line end")
        first = re.fullmatch(rb'"' + re.escape(KEPT) + rb'",([1-9][0-9]*)', records[0])
        self.assertIsNotNone(first, records[0])
        self.assertEqual(records[1:10], [b'"Mossgrovity",0'] * 9)
