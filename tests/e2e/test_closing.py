# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""Ending the program, by Exit or by a close request from outside, and the high-score file it
leaves."""

from harness import (ABOUT, ABOUT_SIZE, EXIT, HIGH_SCORES, HIGH_SCORES_SIZE, MAIN_SIZE,
                     SCORES_OK, GameTestCase, button_centre)


def records(entries):
    return b"".join(b'"%s",%d\r\n' % (name.encode(), score) for name, score in entries)


# Twelve records, unsorted: the game reads the first ten and writes ten back.
TWELVE = [("Ada", 12), ("Bo", 30), ("Cy", 0), ("Di", 57), ("Ed", 3), ("Fay", 101),
          ("Gus", 6), ("Hal", 1), ("Ivy", 44), ("Jo", 9), ("Kit", 200), ("Lu", 250)]
FIRST_TEN = records(TWELVE[:10])

# Opening the list sorts it best first; the zero scores come out in this order.
UNSORTED = [(name, 0) for name in "ABCDEFGHI"] + [("J", 5)]
SORTED = records([("J", 5)] + [(name, 0) for name in "BADCFGHIE"])


class ClosingTest(GameTestCase):

    def test_exit_writes_the_file_and_ends_the_program(self):
        main = self.start_game(highscores=records(TWELVE))
        self.click(main, button_centre(EXIT))
        self.assertEqual(self.wait_exit(), 0)
        self.assertEqual(self.game.file(), FIRST_TEN)

    def test_a_close_request_from_outside_writes_the_file_and_ends_the_program(self):
        main = self.start_game(highscores=records(TWELVE))
        self.x.wire.request_close(main.id)
        self.assertEqual(self.wait_exit(), 0)
        self.assertEqual(self.game.file(), FIRST_TEN)

    def test_a_close_request_while_the_about_window_is_open_writes_the_file_and_ends(self):
        main = self.start_game(highscores=records(TWELVE))
        self.click(main, button_centre(ABOUT))
        self.wait_for_window(ABOUT_SIZE, "the About window")
        self.x.wire.request_close(main.id)
        self.assertEqual(self.wait_exit(), 0)
        self.assertEqual(self.game.file(), FIRST_TEN)

    def test_the_list_opens_sorted_and_exit_writes_it_in_that_order(self):
        main = self.start_game(highscores=records(UNSORTED))
        self.click(main, button_centre(HIGH_SCORES))
        scores = self.wait_for_window(HIGH_SCORES_SIZE, "the high-score list")
        self.click(scores, button_centre(SCORES_OK))
        self.wait_until_gone(HIGH_SCORES_SIZE, "the high-score list")
        self.assertEqual(self.windows(), [self.find(MAIN_SIZE)])
        self.click(main, button_centre(EXIT))
        self.assertEqual(self.wait_exit(), 0)
        self.assertEqual(self.game.file(), SORTED)
