# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""The game among other programs under real window managers, each started on the suite's own
Xvfb: it never takes the keyboard from another program nor covers one, its secondary windows
belong to the main window, and a click on the main window brings the open one back with the
keyboard focus.

Each window manager runs the same scenarios. openbox and xfwm4 run by default; the variable
QUINTAGRID_E2E_WMS names others (space-separated; "mutter" is known too). A window manager that
is not installed skips its tests, except under CI=true. The focus scenarios run with both cores
kept busy, because giving the focus away is a race that an idle machine seldom loses.
"""

import os
import shutil
import subprocess
import time
import unittest

import xwire
from harness import (ABOUT, ABOUT_OK, ABOUT_SIZE, BEGIN, DEADLINE, ENTER_NAME_SIZE, EXIT,
                     HIGH_SCORES, HIGH_SCORES_SIZE, SCORES_OK, GameTestCase, Window, XServer,
                     button_centre, cell_centre, poll, stop_process)

WINDOW_MANAGERS = {
    "openbox": ["openbox", "--sm-disable"],
    # xfwm4 reads its settings over D-Bus; a private session bus keeps it from failing.
    "xfwm4": ["dbus-run-session", "--", "xfwm4", "--compositor=off", "--sm-client-disable"],
    "mutter": ["dbus-run-session", "--", "mutter", "--x11", "--replace", "--sm-disable"],
}
CHOSEN = os.environ.get("QUINTAGRID_E2E_WMS", "openbox xfwm4").split()

# How long another program is watched keeping the focus or its place in front.
WATCH = 2.0
# A click on the main window brings the open secondary window back with the focus; room for a
# loaded machine.
FOCUS_BACK = 1.0

DEFAULT_FILE = b'"Mossgrovity",0\r\n' * 10


class DesktopServer(XServer):
    """An Xvfb of its own with a window manager running on it."""

    def __init__(self, name, command):
        super().__init__()
        try:
            self.wm = subprocess.Popen(command, env=self.env, stdin=subprocess.DEVNULL,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                       start_new_session=True)
            # A window manager announces itself on the root once it manages the screen.
            poll(lambda: self.wm.poll() is None and self.wire.get_property(
                self.wire.root, "_NET_SUPPORTING_WM_CHECK"), bool,
                f"{name} running", DEADLINE)
        except Exception:
            self.stop()
            raise

    def stop(self):
        if getattr(self, "wm", None) is not None:
            # dbus-run-session ends its bus with the window manager: end the whole group.
            if self.wm.poll() is None:
                os.killpg(self.wm.pid, 15)
            try:
                self.wm.wait(5)
            except subprocess.TimeoutExpired:
                os.killpg(self.wm.pid, 9)
                self.wm.wait(5)
        super().stop()

    def stack(self):
        """The game's visible windows, front first: ordered by their frames among the root's
        children, placed where xwininfo finds them on the screen."""
        found = []
        for window in self.visible_windows():
            try:
                info = self.run("xwininfo", "-id", str(window))
            except AssertionError:
                continue  # closed since it was listed
            if '"Quintagrid"' not in info:
                continue
            try:
                frame = self.wire.top_level(window)
            except xwire.XError:
                continue  # closed since xwininfo looked at it
            _, order = self.wire.query_tree(self.wire.root)
            if frame not in order:
                continue  # framed a moment ago: not yet in the list read
            value = {key.strip(): int(v) for key, v in
                     (line.split(":", 1) for line in info.splitlines()
                      if line.strip().startswith(("Absolute", "Width", "Height")))}
            found.append((order.index(frame), Window(window, value["Absolute upper-left X"],
                                        value["Absolute upper-left Y"], value["Width"],
                                        value["Height"])))
        return [w for _, w in sorted(found, key=lambda f: -f[0])]


def busy_cores(test, count=2):
    """Keeps `count` cores busy until the test ends."""
    for _ in range(count):
        loop = subprocess.Popen(["sh", "-c", "while :; do :; done"])
        test.addCleanup(stop_process, loop)


class DesktopScenarios:
    """The scenarios; a subclass per window manager names it in WM."""

    WM = None

    @classmethod
    def setUpClass(cls):
        command = WINDOW_MANAGERS[cls.WM]
        if cls.WM not in CHOSEN:
            raise unittest.SkipTest(f"{cls.WM} not chosen")
        if any(shutil.which(program) is None for program in (command[0], cls.WM)):
            if os.environ.get("CI") == "true":
                raise AssertionError(f"{cls.WM} is not installed")
            raise unittest.SkipTest(f"{cls.WM} is not installed")
        cls.x = DesktopServer(cls.WM, command)

    def other_program(self, x, y, width, height):
        """A window of another program of the suite's own, activated by a click as a user
        does; returns its connection (which records its keys) and its window."""
        other = xwire.Connection(self.x.display)
        self.addCleanup(other.close)
        window = other.create_window(x, y, width, height, "Other program")
        self.wait(lambda: "IsViewable" in self.x.run("xwininfo", "-id", str(window)), bool,
                  "the other program's window shown")
        self.x.xdotool("mousemove", "--window", window, 20, 20, "click", 1)
        self.wait(self.x.wire.input_focus, lambda w: w == window,
                  "the keyboard focus in the other program")
        return other, window

    def assert_focus_stays(self, window, seconds, what):
        """Samples the focus every 50 ms for `seconds`: it must never leave `window`."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            focus = self.x.wire.input_focus()
            self.assertEqual(focus, window, self.diagnosis(f"{what}: the focus went to "
                                                           f"0x{focus:x}"))
            time.sleep(0.05)

    def assert_owned_by(self, window, main):
        transient = self.x.wire.get_property(window.id, "WM_TRANSIENT_FOR")
        state = self.x.wire.get_property(window.id, "_NET_WM_STATE")
        skip = self.x.wire.intern_atom("_NET_WM_STATE_SKIP_TASKBAR")
        self.assertTrue(transient == [main.id] or skip in state,
                        f"transient for {transient}, state {state}")

    def test_another_program_keeps_the_keyboard_and_a_click_on_the_board_brings_it_back(self):
        busy_cores(self)
        main = self.start_game(seed=1)
        self.click(main, button_centre(BEGIN))
        self.wait_for_card(main, 0)
        for i in range(1, 25):
            self.click(main, cell_centre(i))
            self.wait_for_card(main, i)
        name = self.wait_for_window(ENTER_NAME_SIZE, "the name window", 90)
        self.wait(self.x.wire.input_focus, lambda w: w == name.id, "the focus in the name box")

        # The user clicks into another program and types there: it gets every key.
        other, window = self.other_program(0, 0, 300, 200)
        keysyms = self.x.wire.keysyms()
        self.x.xdotool("type", "--delay", 50, "stolen")
        self.assert_focus_stays(window, WATCH, "the other program typed into")
        self.assertEqual(other.typed(keysyms, 6, DEADLINE), "stolen")

        # Back to the game by a click on the board: the name box has the keyboard again.
        self.click(main, cell_centre(12))
        self.wait(self.x.wire.input_focus, lambda w: w == name.id,
                  "the focus back in the name box", FOCUS_BACK)
        self.x.xdotool("type", "--delay", 50, "ann")
        self.assert_owned_by(name, main)
        self.x.xdotool("key", "Return")
        scores = self.wait_for_window(HIGH_SCORES_SIZE, "the high-score list")
        self.click(scores, button_centre(SCORES_OK))
        self.wait_until_gone(HIGH_SCORES_SIZE, "the high-score list")
        self.click(main, button_centre(EXIT))
        self.assertEqual(self.wait_exit(), 0)
        self.assertTrue(self.game.file().startswith(b'"ann",'), self.game.file())
        self.assertNotIn(b"stolen", self.game.file())

    def test_another_program_stays_in_front_of_the_high_score_list(self):
        busy_cores(self)
        main = self.start_game(highscores=DEFAULT_FILE)
        self.click(main, button_centre(HIGH_SCORES))
        scores = self.wait_for_window(HIGH_SCORES_SIZE, "the high-score list")
        # Over the list, and sticking out left of the main window, where it is clicked: a
        # window manager may open it behind the game's windows.
        left = main.x - 100
        _, window = self.other_program(left, scores.y - 40, scores.x + scores.width + 40 - left,
                                       scores.height + 80)
        wire = self.x.wire
        deadline = time.monotonic() + WATCH
        while time.monotonic() < deadline:
            _, order = wire.query_tree(wire.root)
            self.assertGreater(order.index(wire.top_level(window)),
                               order.index(wire.top_level(scores.id)),
                               self.diagnosis("the high-score list came in front"))
            time.sleep(0.02)
        self.assertEqual(wire.input_focus(), window, "the other program keeps the focus")

    def test_secondary_windows_belong_to_the_main_window(self):
        main = self.start_game(highscores=DEFAULT_FILE)
        for button, size, close in ((HIGH_SCORES, HIGH_SCORES_SIZE, SCORES_OK),
                                    (ABOUT, ABOUT_SIZE, ABOUT_OK)):
            self.click(main, button_centre(button))
            window = self.wait_for_window(size, "the secondary window")
            self.assert_owned_by(window, main)
            self.assertEqual(self.windows()[0], window, "in front of the main window")
            self.click(window, button_centre(close))
            self.wait_until_gone(size, "the secondary window")


class OpenboxTest(DesktopScenarios, GameTestCase):
    WM = "openbox"


class Xfwm4Test(DesktopScenarios, GameTestCase):
    WM = "xfwm4"


class MutterTest(DesktopScenarios, GameTestCase):
    WM = "mutter"
