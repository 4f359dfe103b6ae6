#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real game under sway, a Wayland compositor, headless: natively and through XWayland, at
output scales 1 and 2. Real pointer and key input comes through wayvnc, the window tree and
the keyboard focus from swaymsg, the pixels from grim.

Started by run_wayland.sh as root inside private mount and network namespaces; sway, wayvnc and
the game run as the user nobody, each session in its own runtime folder under a private /tmp.

    sh tests/e2e/run_wayland.sh build/ui/quintagrid [-k pattern]
"""

import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import rfb  # noqa: E402
from harness import (ABOUT, ABOUT_SIZE, ACCEPTS, HIGH_SCORES, HIGH_SCORES_SIZE,  # noqa: E402
                     MAIN_SIZE, NORMAL, REFUSES, SCORES_OK, button_centre, cell_centre)

GAME = ""
NOBODY = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"]
DEADLINE = 15.0
BACKGROUND = (8, 8)  # a spot of the main window's wooden background
LEGEND = (320, 136, 168, 192)  # x, y, width, height: the hands and their points
VNC_PORT = 5900

# The 1x picture of the legend, kept by the scale 1 run for the scale 2 runs to compare.
ONE_X = {}


def poll(probe, accept, what, timeout=DEADLINE):
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if accept(value):
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"waited {timeout:g} s for {what}; last seen: {value!r}")
        time.sleep(0.05)


def stop_compositor(processes, log, home, patience=5):
    """Ends the processes in this order, each given `patience` seconds before it is killed, then
    closes the log and removes the compositor's home."""
    for process in processes:
        process.terminate()
        try:
            process.wait(patience)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
    log.close()
    shutil.rmtree(home, ignore_errors=True)


class Sway:
    """A headless sway with XWayland, one output at the given scale, and wayvnc on it."""

    def __init__(self, scale):
        self.scale = scale
        self.home = tempfile.mkdtemp(prefix="sway-", dir="/tmp")
        os.chmod(self.home, 0o700)
        os.chown(self.home, 65534, 65534)
        config = os.path.join(self.home, "config")
        with open(config, "w") as f:
            f.write(f"output HEADLESS-1 mode {1280 * scale}x{1024 * scale} position 0,0 "
                    f"scale {scale}\nxwayland enable\n")
        self.env = {"PATH": os.environ["PATH"], "HOME": self.home, "XDG_RUNTIME_DIR": self.home,
                    "LANG": "C.UTF-8", "WLR_BACKENDS": "headless", "WLR_HEADLESS_OUTPUTS": "1",
                    "WLR_LIBINPUT_NO_DEVICES": "1", "WLR_RENDERER": "pixman"}
        self.log = open(os.path.join(self.home, "sway.log"), "w")
        self.sway = subprocess.Popen(NOBODY + ["sway", "-c", config], env=self.env,
                                     stdout=self.log, stderr=subprocess.STDOUT)
        sock = poll(lambda: [n for n in os.listdir(self.home) if n.startswith("sway-ipc")],
                    bool, "sway's socket")
        self.env["SWAYSOCK"] = os.path.join(self.home, sock[0])
        self.env["WAYLAND_DISPLAY"] = poll(
            lambda: next((n for n in os.listdir(self.home)
                          if n.startswith("wayland-") and not n.endswith(".lock")), None),
            bool, "the Wayland socket")
        tree = poll(self.tree_or_none, bool, "sway's answer")
        del tree
        self.wayvnc = subprocess.Popen(NOBODY + ["wayvnc", "127.0.0.1", str(VNC_PORT)],
                                       env=self.env, stdout=self.log, stderr=subprocess.STDOUT)
        self.vnc = rfb.Client("127.0.0.1", VNC_PORT)

    def x_display(self):
        # sway starts XWayland as it starts, on the first free display.
        sockets = poll(lambda: os.listdir("/tmp/.X11-unix") if os.path.isdir("/tmp/.X11-unix")
                       else [], bool, "XWayland's socket")
        return ":" + sorted(sockets)[0][1:]

    def stop(self):
        self.vnc.close()
        stop_compositor((self.wayvnc, self.sway), self.log, self.home)

    def swaymsg(self, *args):
        return subprocess.run(NOBODY + ["swaymsg", *args], env=self.env, capture_output=True,
                              text=True, timeout=10)

    def tree_or_none(self):
        answer = self.swaymsg("-t", "get_tree")
        return json.loads(answer.stdout) if answer.returncode == 0 else None

    def windows(self, pid):
        """The process's windows, bottom first: (width, height, x, y, focused, shell)."""
        found = []

        def walk(node):
            if node.get("pid") == pid and node.get("type") in ("con", "floating_con"):
                r = node["rect"]
                found.append((r["width"], r["height"], r["x"], r["y"], node["focused"],
                              node.get("shell")))
            for child in node.get("nodes", []) + node.get("floating_nodes", []):
                walk(child)
        walk(self.tree_or_none() or {})
        return found

    def screenshot(self):
        """The whole output as (width, height, bytes of RGB), in device pixels."""
        shot = subprocess.run(NOBODY + ["grim", "-t", "ppm", "-"], env=self.env,
                              capture_output=True, timeout=10, check=True).stdout
        fields = shot.split(maxsplit=4)
        return int(fields[1]), int(fields[2]), fields[4]


def crop(shot, x, y, width, height):
    """Rows of grey values of a box of the screenshot, in device pixels."""
    shot_width, _, data = shot
    rows = []
    for row in range(y, y + height):
        start = (row * shot_width + x) * 3
        line = data[start:start + width * 3]
        rows.append([(line[i] * 3 + line[i + 1] * 6 + line[i + 2]) // 10
                     for i in range(0, len(line), 3)])
    return rows


def sharp_edges(rows, step, phase):
    """Neighbouring pixels, side by side, that differ by more than a bilinear stretch can
    make them differ, counted where x % step == phase."""
    return sum(1 for line in rows for x in range(phase, len(line) - 1, step)
               if abs(line[x] - line[x + 1]) > 140)


class SwayCase(unittest.TestCase):
    SCALE = 1
    PLATFORM = None  # None: the game's own choice; "xcb": XWayland as the user's choice
    SHELL = "xdg_shell"

    @classmethod
    def setUpClass(cls):
        cls.sway = Sway(cls.SCALE)
        cls.sway.env["DISPLAY"] = cls.sway.x_display()

    @classmethod
    def tearDownClass(cls):
        cls.sway.stop()

    def setUp(self):
        self.game = None
        self.directory = tempfile.mkdtemp(prefix="game-", dir="/tmp")
        os.chown(self.directory, 65534, 65534)

    def tearDown(self):
        if self.game is not None and self.game.poll() is None:
            self.game.kill()
            self.game.wait()
        shutil.rmtree(self.directory, ignore_errors=True)

    def start_game(self, **changes):
        env = dict(self.sway.env, XDG_SESSION_TYPE="wayland", XDG_CURRENT_DESKTOP="sway",
                   QUINTAGRID_SEED="7")
        if self.PLATFORM:
            env["QT_QPA_PLATFORM"] = self.PLATFORM
        env.update(changes)
        self.game = subprocess.Popen(NOBODY + [GAME], cwd=self.directory, env=env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        main = self.wait_for(MAIN_SIZE, "the main window", focused=True)
        return main

    def find(self, size):
        return next((w for w in self.sway.windows(self.game.pid) if w[:2] == size), None)

    def wait_for(self, size, what, focused=None):
        return poll(lambda: self.find(size),
                    lambda w: w is not None and (focused is None or w[4] == focused), what)

    def wait_on_top(self, size, what):
        """Waits until the window of this size is the game's topmost one and has the focus."""
        poll(lambda: self.sway.windows(self.game.pid),
             lambda ws: ws and ws[-1][:2] == size and ws[-1][4], what)

    def point(self, window, at):
        s = self.SCALE
        return ((window[2] + at[0]) * s + s // 2, (window[3] + at[1]) * s + s // 2)

    def click(self, window, at):
        self.sway.vnc.click(*self.point(window, at))

    def grey(self, window, at):
        x, y = self.point(window, at)
        return crop(self.sway.screenshot(), x, y, 1, 1)[0][0]

    def test_starts_on_its_path_and_its_windows_follow_a_drag(self):
        main = self.start_game()
        self.assertEqual(main[5], self.SHELL)
        for size, opener in ((MAIN_SIZE, None), (ABOUT_SIZE, ABOUT)):
            window = main
            if opener is not None:
                self.click(self.find(MAIN_SIZE), button_centre(opener))
                window = self.wait_for(size, "the About window", focused=True)
            start = self.point(window, BACKGROUND)
            self.sway.vnc.drag(start, (start[0] + 60 * self.SCALE, start[1] + 40 * self.SCALE))
            poll(lambda: self.find(size), lambda w: w[2:4] == (window[2] + 60, window[3] + 40),
                 f"the {size} window dragged by (60, 40)")
        self.sway.vnc.key("Return")  # About's OK

    def test_the_open_window_comes_back_in_front_with_the_keyboard(self):
        main = self.start_game()
        for size, opener in ((HIGH_SCORES_SIZE, HIGH_SCORES), (ABOUT_SIZE, ABOUT)):
            self.click(main, button_centre(opener))
            self.wait_on_top(size, f"the {size} window open")
            self.click(main, BACKGROUND)  # outside the open window
            self.wait_on_top(size, f"the {size} window back in front after a click on the main "
                                   "window")
            self.sway.vnc.key("Escape")
            poll(lambda: self.find(size), lambda w: w is None, f"Escape closing {size}")
        self.wait_for(MAIN_SIZE, "the main window with the keyboard again", focused=True)

    def test_ok_takes_the_first_click(self):
        main = self.start_game()
        for _ in range(2):
            self.click(main, button_centre(HIGH_SCORES))
            scores = self.wait_for(HIGH_SCORES_SIZE, "the high-score list", focused=True)
            self.click(scores, button_centre(SCORES_OK))
            poll(lambda: self.find(HIGH_SCORES_SIZE), lambda w: w is None,
                 "one click on OK closing the list")

    def test_a_game_is_played_with_the_keyboard(self):
        main = self.start_game()
        self.sway.vnc.key("Return")  # Begin has the focus
        # A cell's plain colours, as crop() weighs them; a card is none of them, while the
        # cell the cursor is on is lit as soon as a key is pressed.
        plain = [(r * 3 + g * 6 + b) // 10 for r, g, b in (NORMAL, ACCEPTS, REFUSES)]
        poll(lambda: self.grey(main, cell_centre(0)), lambda g: g not in plain,
             "the first card in the top-left cell")
        self.sway.vnc.key("space")  # the cursor starts on the cell right of it
        poll(lambda: self.grey(main, cell_centre(1)), lambda g: g not in plain,
             "the second card placed beside it by the keyboard")

    def test_the_picture_is_drawn_at_the_output_scale(self):
        main = self.start_game()
        s = self.SCALE
        check_drawn_at_scale(self, s, self.SHELL, lambda: crop(
            self.sway.screenshot(), (main[2] + LEGEND[0]) * s, (main[3] + LEGEND[1]) * s,
            LEGEND[2] * s, LEGEND[3] * s))


class Sway1Native(SwayCase):
    SCALE = 1

    def test_a_platform_that_cannot_connect_falls_back_to_the_other(self):
        # GNOME's choice, XWayland first, with no X server there; then sway's, Wayland first,
        # with no compositor there.
        for changes, shell in (({"DISPLAY": ":77", "XDG_CURRENT_DESKTOP": "GNOME"}, "xdg_shell"),
                               ({"WAYLAND_DISPLAY": "wayland-77"}, "xwayland")):
            main = self.start_game(**changes)
            self.assertEqual(main[5], shell)
            self.game.terminate()
            self.assertEqual(self.game.wait(10), 0)


class Sway1XWayland(SwayCase):
    SCALE = 1
    PLATFORM = "xcb"
    SHELL = "xwayland"


class Sway2Native(SwayCase):
    SCALE = 2


class Sway2XWayland(SwayCase):
    SCALE = 2
    PLATFORM = "xcb"
    SHELL = "xwayland"

    def test_the_picture_is_drawn_at_the_output_scale(self):
        self.skipTest("sway 1.7 stretches every X window to the output scale")


del SwayCase


def check_drawn_at_scale(test, scale, path, legend):
    """At scale 1 keeps the sharp edges of the legend's picture (`legend()`, an image in device
    pixels) for the path; at scale 2 checks the picture is drawn at 2x. A 1x picture stretched
    to 2x has its sharp edges only between its 2 x 2 blocks, or none at all when filtered;
    drawn at 2x, about as many lie within the blocks as the 1x picture has in all. The first
    frame may come before the compositor has told the window its scale."""
    if scale == 1:
        ONE_X[path] = poll(lambda: sharp_edges(legend(), 1, 0), lambda n: n > 100,
                           "the legend drawn, with text to compare")
        return
    one_x = ONE_X.get(path)
    if one_x is None:
        test.skipTest("the 1x picture was not taken")
    if scale != int(scale):
        # No blocks to look within: a 1x picture stretched by a fraction is filtered and keeps
        # no sharp edge at all (kwin 5.27 at 1.5: 0 of 499); drawn at 2 and scaled down it
        # keeps about as many as at 1x (475), drawn at the scale itself more (918).
        seen = poll(lambda: sharp_edges(legend(), 1, 0), lambda n: n > one_x // 2,
                    f"a picture drawn at {scale:g} or above: more than {one_x // 2} sharp edges")
        print(f"\n  sharp edges: 1x {one_x}, at {scale:g} {seen}", file=sys.stderr)
        return
    within = poll(lambda: sharp_edges(legend(), 2, 0), lambda n: n > one_x // 3,
                  f"a picture drawn at 2x: more than {one_x // 3} sharp edges within the "
                  "2 x 2 blocks")
    print(f"\n  sharp edges: 1x {one_x}, within the 2x2 blocks at 2x {within}",
          file=sys.stderr)


def arguments(compositor):
    """The command line of a compositor's suite: the game, and -k patterns of test names."""
    parser = argparse.ArgumentParser(description=f"Runs the game under {compositor}.")
    parser.add_argument("game")
    parser.add_argument("-k", dest="patterns", action="append", default=[])
    return parser.parse_args()


def run_tests(module, patterns):
    """Runs the module's tests whose names match a pattern (all without any); the exit status."""
    loader = unittest.TestLoader()
    if patterns:
        loader.testNamePatterns = [f"*{p}*" for p in patterns]
    result = unittest.TextTestRunner(verbosity=2).run(loader.loadTestsFromModule(module))
    return 0 if result.wasSuccessful() and result.testsRun else 1


def main():
    global GAME
    args = arguments("sway")
    GAME = os.path.abspath(args.game)
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
    subprocess.run(["mount", "-t", "tmpfs", "-o", "mode=1777", "tmpfs", "/tmp"], check=True)
    return run_tests(sys.modules[__name__], args.patterns)


if __name__ == "__main__":
    sys.exit(main())
