# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""The ways a game ends besides Exit and the close request: the signals a desktop, systemd or
`kill` send, SIGKILL, the X server going away, a second start in the same directory, and a FIFO
in the place of the high-score file. Once a name is accepted, its score is on disk whatever
follows."""

import ctypes
import os
import re
import signal
import stat
import struct
import subprocess

from harness import (BEGIN, DEADLINE, ENTER_NAME_SIZE, EXIT, HIGH_SCORES, HIGH_SCORES_SIZE, MAIN_SIZE,
                     NORMAL, SCORES_OK, Game, GameTestCase, XServer, button_centre, cell_centre)

SEED = 1
COUNT_UP_DEADLINE = 60.0
NAME = "Tester"

# The list's delete button and the question it asks, on the X server by its title.
SCORES_DELETE = (16, 264)
QUESTION_TITLE = "^Tavrin 1.0 Warning!$"
# The box that offers the next card, where the shuffle shows its pictures.
DEALT_CENTRE = (360, 48)


def records(entries):
    return b"".join(b'"%s",%d\r\n' % (name.encode(), score) for name, score in entries)


# Sorted best first with distinct scores, so opening the list changes nothing; a game total of
# 1 or more replaces Jo's 0.
START = [("Ann", 900), ("Bob", 800), ("Cy", 700), ("Di", 600), ("Ed", 500), ("Fay", 400),
         ("Gus", 300), ("Hal", 200), ("Ivy", 100), ("Jo", 0)]
START_FILE = records(START)
# The name window open: the new total is in the lowest slot, still with the old name.
TOTAL_WITH_OLD_NAME = re.compile(re.escape(records(START[:9])) + rb'"Jo",[1-9][0-9]*\r\n')
# The name accepted: the list sorted it in; every other record is still there.
ACCEPTED = re.compile(rb'(?:"[A-I][a-z]+",[1-9]00\r\n)*"Tester",[1-9][0-9]*\r\n'
                      rb'(?:"[A-I][a-z]+",[1-9]00\r\n)*')


def accepted(data):
    return (data is not None and ACCEPTED.fullmatch(data) is not None
            and all(records([entry]) in data for entry in START[:9]))


class FileWrites:
    """Counts the times the high-score file is put in place in a directory (created there or
    renamed onto its name), as the kernel reports it through inotify."""

    IN_MOVED_TO = 0x80
    IN_CREATE = 0x100
    IN_NONBLOCK = 0o4000

    def __init__(self, directory, name="tavrinhs"):
        self._libc = ctypes.CDLL(None, use_errno=True)
        self._fd = self._libc.inotify_init1(self.IN_NONBLOCK)
        if self._fd < 0:
            raise OSError(ctypes.get_errno(), "inotify_init1")
        if self._libc.inotify_add_watch(self._fd, os.fsencode(directory),
                                        self.IN_MOVED_TO | self.IN_CREATE) < 0:
            os.close(self._fd)
            raise OSError(ctypes.get_errno(), "inotify_add_watch")
        self._name = os.fsencode(name)
        self._count = 0

    def count(self):
        while True:
            try:
                data = os.read(self._fd, 65536)
            except BlockingIOError:
                return self._count
            at = 0
            while at < len(data):
                _, _, _, length = struct.unpack_from("iIII", data, at)
                name = data[at + 16:at + 16 + length].rstrip(b"\0")
                self._count += name == self._name
                at += 16 + length

    def close(self):
        os.close(self._fd)


class EndingsTest(GameTestCase):

    def watch_writes(self):
        writes = FileWrites(self.directory)
        self.addCleanup(writes.close)
        return writes

    def play_to_the_name_window(self, main):
        self.click(main, button_centre(BEGIN))
        self.wait_for_card(main, 0)
        for i in range(1, 25):
            self.click(main, cell_centre(i))
            self.wait_for_card(main, i)
        name = self.wait_for_window(ENTER_NAME_SIZE, "the name window", COUNT_UP_DEADLINE)
        self.wait(lambda: self.x.xdotool("getwindowfocus").strip(), lambda w: w == str(name.id),
                  "the keyboard focus in the name window")
        return name

    def accept_a_name(self, main):
        """Plays a game and types a name for its total; returns the list that follows."""
        self.play_to_the_name_window(main)
        self.x.xdotool("type", "--delay", 20, NAME)
        self.x.xdotool("key", "Return")
        return self.wait_for_window(HIGH_SCORES_SIZE, "the high-score list")

    def signal_and_wait(self, number):
        self.game.process.send_signal(number)
        return self.wait_exit()

    def test_after_the_name_is_accepted_the_score_survives_signals_and_kill(self):
        root = self.directory
        for number, status, saves in ((signal.SIGTERM, 0, 1), (signal.SIGHUP, 0, 1),
                                      (signal.SIGINT, 0, 1), (signal.SIGKILL, -signal.SIGKILL, 0)):
            with self.subTest(signal=number.name):
                self.directory = os.path.join(root, number.name)
                os.mkdir(self.directory)
                try:
                    main = self.start_game(seed=SEED, highscores=START_FILE)
                    self.accept_a_name(main)
                    self.wait(self.game.file, accepted, "the accepted name in the file")
                    writes = self.watch_writes()
                    self.assertEqual(self.signal_and_wait(number), status)
                    self.assertTrue(accepted(self.game.file()), self.game.file())
                    self.assertEqual(writes.count(), saves)
                finally:
                    self.game.stop()

    def test_sigterm_in_any_state_ends_cleanly_with_the_file_whole(self):
        def shuffle(main):
            before = self.pixel(main, DEALT_CENTRE)
            self.click(main, button_centre(BEGIN))
            self.wait(lambda: (self.pixel(main, DEALT_CENTRE), self.pixel(main, cell_centre(0))),
                      lambda seen: seen[0] != before and seen[1] == NORMAL,
                      "a shuffle picture with the board still empty")

        def count_up(main):
            self.click(main, button_centre(BEGIN))
            self.wait_for_card(main, 0)
            for i in range(1, 25):
                self.click(main, cell_centre(i))
                self.wait_for_card(main, i)

        def delete_question(main):
            self.click(main, button_centre(HIGH_SCORES))
            scores = self.wait_for_window(HIGH_SCORES_SIZE, "the high-score list")
            self.click(scores, button_centre(SCORES_DELETE))
            self.wait(self.question_shown, lambda w: w is not None, "the delete question")

        cases = (("shuffle", shuffle, START_FILE),
                 ("count-up", count_up, START_FILE),
                 ("name window", self.play_to_the_name_window, TOTAL_WITH_OLD_NAME),
                 ("delete question", delete_question, START_FILE))
        root = self.directory
        for state, reach, expected in cases:
            with self.subTest(state=state):
                self.directory = os.path.join(root, state.replace(" ", "-"))
                os.mkdir(self.directory)
                try:
                    main = self.start_game(seed=SEED, highscores=START_FILE)
                    writes = self.watch_writes()
                    reach(main)
                    if state == "count-up":
                        self.assertIsNone(self.find(ENTER_NAME_SIZE), "still counting")
                    self.assertEqual(self.signal_and_wait(signal.SIGTERM), 0)
                    data = self.game.file()
                    if isinstance(expected, bytes):
                        self.assertEqual(data, expected)
                    else:
                        self.assertRegex(data, expected)
                    self.assertEqual(writes.count(), 1)
                finally:
                    self.game.stop()

    def question_shown(self):
        """The delete question's window id, or None."""
        # xdotool search exits 1 when nothing matches.
        done = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", QUESTION_TITLE],
                              env=self.x.env, capture_output=True, text=True, timeout=DEADLINE)
        words = done.stdout.split()
        return int(words[0]) if words else None

    def test_the_x_server_lost_after_the_name_is_accepted_keeps_the_score(self):
        # A server of its own, since this test kills it.
        server = XServer()
        self.addCleanup(server.stop)
        self.x = server
        main = self.start_game(seed=SEED, highscores=START_FILE)
        self.accept_a_name(main)
        self.wait(self.game.file, accepted, "the accepted name in the file")
        server.process.kill()
        server.process.wait()
        self.wait_exit()  # the game may end with any status, but it ends
        self.assertTrue(accepted(self.game.file()), self.game.file())

    def main_windows(self):
        return [w for w in self.windows() if w.size == MAIN_SIZE]

    def test_a_second_start_in_the_same_directory_brings_the_first_game_to_the_front(self):
        runtime = os.path.join(self.directory, "runtime")
        os.mkdir(runtime, 0o700)
        first_directory = os.path.join(self.directory, "first")
        other_directory = os.path.join(self.directory, "other")
        for directory in (first_directory, other_directory):
            os.mkdir(directory)
            with open(os.path.join(directory, "tavrinhs"), "wb") as f:
                f.write(START_FILE)
        self.x.move(0, 0)

        def start(directory):
            game = Game(self.x, directory, SEED, runtime)
            self.addCleanup(game.stop)
            return game

        first = self.game = start(first_directory)
        first_main = self.wait_for_window(MAIN_SIZE, "the first game's window")
        # A game in another directory runs beside it, and covers it.
        other = start(other_directory)
        self.wait(self.main_windows, lambda ws: len(ws) == 2, "a second board")
        self.assertNotEqual(self.windows()[0].id, first_main.id)

        self.directory = first_directory
        writes = self.watch_writes()
        second = start(first_directory)
        self.assertEqual(second.wait_exit(1.0), 0)
        self.wait(lambda: self.windows()[0].id, lambda front: front == first_main.id,
                  "the first game's window in front")
        self.assertEqual(len(self.main_windows()), 2, "no third board")

        self.click(first_main, button_centre(EXIT))
        self.assertEqual(first.wait_exit(), 0)
        self.assertEqual(writes.count(), 1)
        self.assertEqual(first.file(), START_FILE)
        other.process.send_signal(signal.SIGTERM)
        self.assertEqual(other.wait_exit(), 0)

    def test_a_lock_left_by_a_killed_game_does_not_block_a_new_start(self):
        self.start_game(highscores=START_FILE)
        self.game.process.kill()
        self.game.wait_exit()
        self.wait_until_gone(MAIN_SIZE, "the killed game's window")
        main = self.start_game(highscores=START_FILE)
        self.click(main, button_centre(EXIT))
        self.assertEqual(self.wait_exit(), 0)
        self.assertEqual(self.game.file(), START_FILE)

    def test_a_fifo_in_the_place_of_the_file_blocks_nothing(self):
        path = os.path.join(self.directory, "tavrinhs")
        os.mkfifo(path)
        main = self.start_game(seed=SEED)
        scores = self.accept_a_name(main)
        self.click(scores, button_centre(SCORES_OK))
        self.wait_until_gone(HIGH_SCORES_SIZE, "the high-score list")
        self.click(main, button_centre(EXIT))
        self.assertEqual(self.wait_exit(), 0)
        self.assertTrue(stat.S_ISFIFO(os.lstat(path).st_mode), "still the FIFO")
