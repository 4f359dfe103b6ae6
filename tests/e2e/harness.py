# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the real game in its own Xvfb and drives it as a player would: real pointer and key
events through xdotool, what is on the screen read back from the server's pixels and window
stack, what lands on disk read from the game's directory.

Every wait polls a condition until a deadline; nothing waits for a fixed time.
"""

import os
import re
import select
import shutil
import subprocess
import tempfile
import time
import unittest
from dataclasses import dataclass

import xwire

# The program under test; run_e2e.py sets it from its command line.
GAME = os.environ.get("QUINTAGRID_E2E_GAME", "")

# Generous, because a loaded two-core machine can be slow to start a server or a Qt program;
# a fault still fails the wait, only later.
DEADLINE = 15.0

SCREEN = (1280, 1024)

# Window sizes tell the game's windows apart: they all carry the same title.
MAIN_SIZE = (505, 417)
HIGH_SCORES_SIZE = (281, 305)
ENTER_NAME_SIZE = (273, 137)
ABOUT_SIZE = (584, 393)

# Cell back colours.
NORMAL = (0, 128, 0)
ACCEPTS = (0, 255, 0)
REFUSES = (128, 0, 0)

# Buttons, as (left, top) of an 81 x 25 box in window pixels.
BEGIN = (320, 96)
HIGH_SCORES = (408, 96)
EXIT = (408, 16)
MINIMIZE = (408, 56)
ABOUT = (408, 376)
SCORES_OK = (184, 264)
ABOUT_OK = (392, 344)
BUTTON_SIZE = (81, 25)


def button_centre(button):
    return (button[0] + BUTTON_SIZE[0] // 2, button[1] + BUTTON_SIZE[1] // 2)


def cell_centre(i):
    return (16 + 48 * (i % 5) + 24, 16 + 64 * (i // 5) + 32)


# Tools the suite runs; the runner skips without them.
TOOLS = ("Xvfb", "xdotool", "xwininfo")


@dataclass(frozen=True)
class Window:
    id: int
    x: int
    y: int
    width: int
    height: int

    @property
    def size(self):
        return (self.width, self.height)


def poll(probe, accept, what, timeout=DEADLINE, interval=0.02):
    """Calls probe() until accept(value) holds and returns that value; fails with the last
    value seen once `timeout` seconds have passed."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if accept(value):
            return value
        if time.monotonic() >= deadline:
            raise AssertionError(f"waited {timeout:g} s for {what}; last seen: {value!r}")
        time.sleep(interval)


def stop_process(process, timeout=5.0):
    """Ends a process this suite started: asks, then insists, each with a bounded wait."""
    if process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(timeout)


class XServer:
    """An Xvfb of its own, without a window manager."""

    def __init__(self):
        self._log = tempfile.TemporaryFile()
        read_end, write_end = os.pipe()
        try:
            self.process = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                 f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp", "-noreset"],
                pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=self._log)
        finally:
            os.close(write_end)
        try:
            self.display = self._read_display_number(read_end)
            self.wire = xwire.Connection(self.display)
        except Exception:
            stop_process(self.process)
            self._log.close()
            raise
        finally:
            os.close(read_end)
        self.env = dict(os.environ, DISPLAY=f":{self.display}")
        self.env.pop("WAYLAND_DISPLAY", None)

    def _read_display_number(self, read_end):
        text = b""
        deadline = time.monotonic() + DEADLINE
        while not text.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([read_end], [], [], left)[0]:
                raise RuntimeError("Xvfb did not report a display number in time")
            chunk = os.read(read_end, 32)
            if not chunk:
                self.process.wait(DEADLINE)
                self._log.seek(0)
                raise RuntimeError("Xvfb ended: " + self._log.read().decode(errors="replace"))
            text += chunk
        return int(text)

    def stop(self):
        self.wire.close()
        stop_process(self.process)
        self._log.close()

    def run(self, *args):
        """Runs an X client (xdotool, xwininfo) against this server; returns its output."""
        done = subprocess.run(args, env=self.env, capture_output=True, text=True,
                              timeout=DEADLINE)
        if done.returncode != 0:
            raise AssertionError(f"{' '.join(args)} failed: {done.stderr.strip()}")
        return done.stdout

    def xdotool(self, *args):
        return self.run("xdotool", *map(str, args))

    def stack(self):
        """The game's visible windows, front first, as xwininfo lists the root's children."""
        visible = self.visible_windows()
        windows = []
        for line in self.run("xwininfo", "-root", "-children").splitlines():
            m = re.match(r'\s*(0x[0-9a-f]+) "Quintagrid": .*?(\d+)x(\d+)\+(-?\d+)\+(-?\d+)',
                         line)
            if m and int(m.group(1), 16) in visible:
                windows.append(Window(int(m.group(1), 16), int(m.group(4)), int(m.group(5)),
                                      int(m.group(2)), int(m.group(3))))
        return windows

    def visible_windows(self):
        """The ids of the mapped windows titled Quintagrid."""
        done = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Quintagrid$"],
                              env=self.env, capture_output=True, text=True, timeout=DEADLINE)
        # xdotool search exits 1 when nothing matches.
        if done.returncode not in (0, 1):
            raise AssertionError("xdotool search failed: " + done.stderr.strip())
        return {int(word) for word in done.stdout.split()}

    def pixel(self, x, y):
        return self.wire.pixel(x, y)

    def move(self, x, y):
        self.xdotool("mousemove", x, y)

    def click(self, x, y):
        self.xdotool("mousemove", x, y, "click", 1)

    def pointer(self):
        out = self.xdotool("getmouselocation", "--shell")
        values = dict(line.split("=", 1) for line in out.split())
        return int(values["X"]), int(values["Y"])

    def screenshot(self, path):
        """Writes the whole screen as a binary PPM, for looking at a failure afterwards."""
        rows = self.wire.pixels(0, 0, SCREEN[0], SCREEN[1])
        with open(path, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % SCREEN)
            f.write(bytes(c for row in rows for pixel in row for c in pixel))


class Game:
    """The game's process, started in `directory` on `server`."""

    def __init__(self, server, directory, seed, runtime=None):
        """`runtime` is the user's runtime directory ($XDG_RUNTIME_DIR) when several games must
        share one; by default each directory has its own."""
        self.server = server
        self.directory = directory
        if runtime is None:
            runtime = os.path.join(directory, ".runtime")
            os.makedirs(runtime, 0o700, exist_ok=True)
        env = dict(server.env, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime)
        if seed is None:
            env.pop("QUINTAGRID_SEED", None)
        else:
            env["QUINTAGRID_SEED"] = str(seed)
        self.stderr_path = os.path.join(directory, ".stderr")
        with open(self.stderr_path, "wb") as err:
            self.process = subprocess.Popen([GAME], cwd=directory, env=env,
                                            stdin=subprocess.DEVNULL,
                                            stdout=subprocess.DEVNULL, stderr=err)

    def stderr(self):
        with open(self.stderr_path, "rb") as f:
            return f.read().decode(errors="replace")

    def stop(self):
        stop_process(self.process)

    def wait_exit(self, timeout=DEADLINE):
        """The exit status once the process has ended; fails if it is still running."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"the game was still running {timeout:g} s later") from None

    def file(self, name="tavrinhs"):
        path = os.path.join(self.directory, name)
        if not os.path.exists(path):
            return None
        with open(path, "rb") as f:
            return f.read()


class GameTestCase(unittest.TestCase):
    """One X server for the class, a fresh game in a fresh directory for each test."""

    @classmethod
    def setUpClass(cls):
        cls.x = XServer()

    @classmethod
    def tearDownClass(cls):
        cls.x.stop()

    def setUp(self):
        self.directory = tempfile.mkdtemp(prefix="quintagrid-e2e-")
        self.addCleanup(shutil.rmtree, self.directory, True)
        self.game = None
        self._game_stderr = None

    def tearDown(self):
        if self.game is not None:
            self.game.stop()
            self._game_stderr = self.game.stderr()

    def game_output(self):
        """What the game wrote to stderr, for the report of a failure (run_e2e.py), which may
        come before or after the test's directory is gone; None when no game ran."""
        if self._game_stderr is None and self.game is not None:
            return self.game.stderr()
        return self._game_stderr

    # Starting and finding windows ------------------------------------------------------------

    def start_game(self, seed=1, highscores=None):
        """Starts the game with `highscores` (bytes) as its file, or none; returns the main
        window once it is on the screen and drawn."""
        if highscores is not None:
            with open(os.path.join(self.directory, "tavrinhs"), "wb") as f:
                f.write(highscores)
        # The pointer starts outside where the window will be, so no cell is lit by chance.
        self.x.move(0, 0)
        self.game = Game(self.x, self.directory, seed)
        main = self.wait_for_window(MAIN_SIZE, "the main window")
        self.wait_for_pixel(main, cell_centre(0), NORMAL, "the board drawn")
        return main

    def windows(self):
        return self.x.stack()

    def find(self, size):
        return next((w for w in self.windows() if w.size == size), None)

    def wait_for_window(self, size, what, timeout=DEADLINE):
        return self.wait(lambda: self.find(size), bool, f"{what} ({size[0]}x{size[1]}) shown",
                         timeout)

    def wait_until_gone(self, size, what):
        self.wait(lambda: self.find(size), lambda w: w is None, f"{what} gone")

    def assertCentred(self, window):
        # The exact centre, or the pixel next to it when the free space is odd.
        self.assertLessEqual(abs(2 * window.x - (SCREEN[0] - window.width)), 1, window)
        self.assertLessEqual(abs(2 * window.y - (SCREEN[1] - window.height)), 1, window)

    # Input, in window pixels -----------------------------------------------------------------

    def click(self, window, point):
        self.x.click(window.x + point[0], window.y + point[1])

    def move(self, window, point):
        self.x.move(window.x + point[0], window.y + point[1])

    def pixel(self, window, point):
        return self.x.pixel(window.x + point[0], window.y + point[1])

    # Waiting and failing ---------------------------------------------------------------------

    def wait(self, probe, accept, what, timeout=DEADLINE):
        try:
            return poll(probe, accept, what, timeout)
        except AssertionError as e:
            raise self.failureException(self.diagnosis(str(e))) from None

    def wait_for_pixel(self, window, point, colour, what):
        return self.wait(lambda: self.pixel(window, point), lambda c: c == colour,
                         f"{what}: {colour} at {point} of the window")

    def wait_for_card(self, window, i):
        """Waits until cell i shows a card rather than a plain colour."""
        self.wait(lambda: self.pixel(window, cell_centre(i)),
                  lambda c: c not in (NORMAL, ACCEPTS, REFUSES), f"a card in cell {i}")

    def wait_exit(self):
        try:
            return self.game.wait_exit()
        except AssertionError as e:
            raise self.failureException(self.diagnosis(str(e))) from None

    def diagnosis(self, message):
        """The failure and, where asked for, a screenshot of the moment."""
        parts = [message]
        folder = os.environ.get("QUINTAGRID_E2E_ARTIFACTS")
        if folder:
            os.makedirs(folder, exist_ok=True)
            path = os.path.join(folder, self.id().rsplit(".", 2)[-1] + ".ppm")
            try:
                self.x.screenshot(path)
                parts.append("screen: " + path)
            except (OSError, xwire.XError) as e:
                parts.append(f"no screenshot: {e}")
        return "\n".join(parts)
