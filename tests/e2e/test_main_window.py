# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""The main window as it first appears: its place, the cell colours under the pointer, and
moving it by its background."""

from harness import (ACCEPTS, BEGIN, MAIN_SIZE, NORMAL, REFUSES, GameTestCase,
                     button_centre, cell_centre)

# A point of the main window's own wooden background, outside every control.
BACKGROUND = (8, 8)


class MainWindowTest(GameTestCase):

    def test_main_window_opens_alone_at_its_size_in_the_middle_of_the_screen(self):
        main = self.start_game()
        self.assertEqual(main.size, MAIN_SIZE)
        self.assertCentred(main)
        self.assertEqual(self.windows(), [main])

    def test_cells_light_under_the_pointer_by_whether_they_take_the_card(self):
        main = self.start_game()

        # Before the first game the board is empty and no cell takes a card.
        self.move(main, cell_centre(12))
        self.wait_for_pixel(main, cell_centre(12), REFUSES, "cell 12 refusing before a game")
        self.move(main, cell_centre(7))
        self.wait_for_pixel(main, cell_centre(7), REFUSES, "cell 7 refusing before a game")
        self.assertEqual(self.pixel(main, cell_centre(12)), NORMAL, "only one cell is lit")

        self.click(main, button_centre(BEGIN))
        self.wait_for_card(main, 0)

        # Cell 6 touches the opening card diagonally; cell 2 touches nothing. (Cell 0's card
        # covers every pixel of it that shows; a card's cell refusing is seen in test_game.)
        self.move(main, cell_centre(6))
        self.wait_for_pixel(main, cell_centre(6), ACCEPTS, "cell 6 taking the second card")
        self.move(main, cell_centre(2))
        self.wait_for_pixel(main, cell_centre(2), REFUSES, "cell 2 refusing the second card")
        self.assertEqual(self.pixel(main, cell_centre(6)), NORMAL, "cell 6 back to normal")

        # Onto the background, still inside the window: every cell is plain again.
        self.move(main, BACKGROUND)
        self.wait_for_pixel(main, cell_centre(2), NORMAL, "cell 2 back to normal")
        for i in range(1, 25):
            self.assertEqual(self.pixel(main, cell_centre(i)), NORMAL, f"cell {i}")

    def test_dragging_the_background_moves_the_window_with_the_pointer(self):
        main = self.start_game()
        self.move(main, BACKGROUND)
        self.x.xdotool("mousedown", 1)
        for step in range(1, 6):
            self.move(main, (BACKGROUND[0] + 8 * step, BACKGROUND[1] + 5 * step))
            self.wait_for_place(main.x + 8 * step, main.y + 5 * step,
                                f"the window following the pointer, step {step}")
        self.x.xdotool("mouseup", 1)
        moved = self.find(MAIN_SIZE)
        self.assertEqual((moved.x - main.x, moved.y - main.y), (40, 25))
        self.assertEqual(self.x.pointer(), (moved.x + BACKGROUND[0], moved.y + BACKGROUND[1]),
                         "the grabbed point stays under the pointer")

        # Back again in one quick sweep: the moves come faster than the window follows them.
        sweep = ["mousedown", 1]
        for step in range(1, 21):
            sweep += ["mousemove", moved.x + BACKGROUND[0] - 2 * step,
                      moved.y + BACKGROUND[1] - step]
        self.x.xdotool(*sweep, "mouseup", 1)
        self.wait_for_place(main.x, main.y + 5, "the window back under the pointer")

    def wait_for_place(self, x, y, what):
        self.wait(lambda: self.find(MAIN_SIZE),
                  lambda w: w is not None and (w.x, w.y) == (x, y), f"{what}: at ({x}, {y})")

    def test_dragging_from_a_cell_leaves_the_window_where_it_is(self):
        main = self.start_game()
        start = cell_centre(12)
        self.move(main, start)
        self.x.xdotool("mousedown", 1)
        for step in range(1, 6):
            self.move(main, (start[0] + 8 * step, start[1] + 5 * step))
        self.x.xdotool("mouseup", 1)
        # Once a later move has shown on the screen, the drag's moves have all been handled.
        now = self.find(MAIN_SIZE)
        self.move(now, cell_centre(0))
        self.wait_for_pixel(now, cell_centre(0), REFUSES, "cell 0 lit after the drag")
        self.assertEqual(self.find(MAIN_SIZE), main)
