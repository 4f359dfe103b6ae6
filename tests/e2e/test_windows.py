# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""The secondary windows over the main window: staying in front, the About window, closing the
list from outside, and minimising."""

import struct
import time

import xwire
from harness import (ABOUT, ABOUT_OK, ABOUT_SIZE, BEGIN, HIGH_SCORES, HIGH_SCORES_SIZE,
                     MINIMIZE, NORMAL, REFUSES, GameTestCase, button_centre, cell_centre)

# A secondary window comes back as soon as the main window is raised; room for a loaded
# machine.
BACK_IN_FRONT = 0.5

ICONIC_STATE = 3


class SecondaryWindowsTest(GameTestCase):

    def watch_root(self):
        """A second connection that sees restacking on the screen and messages meant for a
        window manager."""
        watcher = xwire.Connection(self.x.display)
        self.addCleanup(watcher.close)
        watcher.watch_root()
        return watcher

    def next_event(self, watcher, accept, what, timeout):
        deadline = time.monotonic() + timeout
        while True:
            event = watcher.next_event(max(0.0, deadline - time.monotonic()))
            if event is None:
                self.fail(self.diagnosis(f"waited {timeout:g} s for {what}"))
            if accept(*event):
                return

    def test_the_high_score_list_comes_back_in_front_of_the_raised_main_window(self):
        main = self.start_game()
        self.click(main, button_centre(HIGH_SCORES))
        scores = self.wait_for_window(HIGH_SCORES_SIZE, "the high-score list")
        self.assertEqual(self.windows(), [scores, main], "the list opens in front")

        watcher = self.watch_root()
        self.x.xdotool("windowraise", main.id)  # the pointer stays where it is

        def restacked(window, above=None):
            # ConfigureNotify: window at offset 8, the sibling it now sits on at 12.
            return lambda code, raw: (code == xwire.CONFIGURE_NOTIFY
                                      and struct.unpack_from("<I", raw, 8)[0] == window
                                      and above in (None, struct.unpack_from("<I", raw, 12)[0]))

        # The list sits directly on the main window, not on top of everything: the main
        # window rises above whatever else is there, hidden windows too.
        self.next_event(watcher, restacked(main.id), "the main window raised", timeout=10)
        self.next_event(watcher, restacked(scores.id, main.id),
                        "the list back on top of the main window", timeout=BACK_IN_FRONT)
        # xwininfo lists the root's children front first.
        self.assertEqual(self.windows(), [scores, main])

    def test_about_opens_over_a_disabled_main_window_and_ok_closes_it(self):
        main = self.start_game()
        self.click(main, button_centre(ABOUT))
        about = self.wait_for_window(ABOUT_SIZE, "the About window")
        self.assertCentred(about)
        self.assertEqual(self.windows(), [about, main], "About opens in front")

        # Dragged aside by its background, it uncovers the board.
        grab = (8, 8)
        self.move(about, grab)
        self.x.xdotool("mousedown", 1)
        for step in range(1, 6):
            self.move(about, (grab[0] + 60 * step, grab[1]))
        self.x.xdotool("mouseup", 1)
        start = about
        about = self.wait(lambda: self.find(ABOUT_SIZE),
                          lambda w: w is not None and (w.x, w.y) == (start.x + 300, start.y),
                          "the About window dragged 300 pixels right")

        # The disabled main window does not light a cell; a later drag of the About window
        # shows that the move has been handled.
        self.move(main, cell_centre(7))
        self.move(about, grab)
        self.x.xdotool("mousedown", 1, "mousemove_relative", "--", 0, 10, "mouseup", 1)
        self.wait(lambda: self.find(ABOUT_SIZE), lambda w: w is not None and w.y == about.y + 10,
                  "the About window dragged 10 pixels down")
        self.assertEqual(self.pixel(main, cell_centre(7)), NORMAL, "cell 7 under the pointer")

        about = self.find(ABOUT_SIZE)
        self.click(about, button_centre(ABOUT_OK))
        self.wait_until_gone(ABOUT_SIZE, "the About window")
        self.move(main, cell_centre(8))
        self.wait_for_pixel(main, cell_centre(8), REFUSES, "cell 8 lit: the main window is back")

    def test_closing_the_list_from_outside_gives_the_main_window_back(self):
        main = self.start_game()
        self.click(main, button_centre(HIGH_SCORES))
        scores = self.wait_for_window(HIGH_SCORES_SIZE, "the high-score list")
        self.x.wire.request_close(scores.id)
        self.wait_until_gone(HIGH_SCORES_SIZE, "the high-score list")
        self.assertEqual(self.windows(), [main])
        self.move(main, cell_centre(0))
        self.wait_for_pixel(main, cell_centre(0), REFUSES, "cell 0 lit: the main window is back")

    def test_minimize_asks_to_iconify_and_the_board_comes_back_unchanged(self):
        main = self.start_game()
        self.click(main, button_centre(BEGIN))
        self.wait_for_card(main, 0)
        self.click(main, cell_centre(1))
        self.wait_for_card(main, 1)
        # The pointer rests on the button from here on, so that nothing changes under it.
        self.move(main, button_centre(MINIMIZE))
        before = self.x.wire.region(main.x, main.y, main.width, main.height)

        watcher = self.watch_root()
        change_state = watcher.intern_atom("WM_CHANGE_STATE")
        self.click(main, button_centre(MINIMIZE))

        def iconify(code, raw):
            # ClientMessage: window at 4, message type at 8, first datum at 12.
            return (code == xwire.CLIENT_MESSAGE
                    and struct.unpack_from("<III", raw, 4) == (main.id, change_state,
                                                               ICONIC_STATE))

        self.next_event(watcher, iconify, "the request to iconify the main window", timeout=10)

        # There is no window manager: do what one does, hide the window, then restore it.
        self.x.xdotool("windowunmap", main.id)
        self.wait(lambda: self.x.visible_windows(), lambda ids: main.id not in ids,
                  "the main window hidden")
        self.x.xdotool("windowmap", main.id)
        self.wait(lambda: self.x.wire.region(main.x, main.y, main.width, main.height),
                  lambda now: now == before, "the main window drawn as before")
