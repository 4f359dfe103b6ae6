#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real game under kwin_wayland, KDE Plasma's compositor, on its virtual (headless)
back end: natively (the game's choice under KDE) and through XWayland, at scales 1, 1.5 and 2
(XWayland also with X programs scaling themselves, as Plasma's display settings offer), with
the checks of the mutter suite. Pointer and keys come through kwin's fake-input Wayland
protocol, spoken here directly; the pixels from kwin's screenshot D-Bus interface. Under
kwin 6, which takes no screenshots without OpenGL, the windows come from kwin's own window list
and the pictures from the game's own buffers, at scales 1, 1.5 and 2 (WindowListChecks).

Started by run_compositor.sh as root inside private mount and network namespaces, in a D-Bus
session of its own (dbus-run-session), with the system Python's GObject bindings.

    sh tests/e2e/run_compositor.sh kwin build/ui/quintagrid [-k pattern]
"""

import json
import os
import re
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time
import types
import unittest

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import mutter_e2e  # noqa: E402
from harness import (ABOUT, ABOUT_SIZE, ACCEPTS, HIGH_SCORES, HIGH_SCORES_SIZE,  # noqa: E402
                     MAIN_SIZE, NORMAL, REFUSES, SCORES_OK, SCREEN, button_centre, cell_centre)
from mutter_e2e import Checks, check_fallback  # noqa: E402
import xwire  # noqa: E402
from wayland_e2e import (LEGEND, ONE_X, arguments, check_drawn_at_scale, poll,  # noqa: E402
                         run_tests, sharp_edges, stop_compositor)

BTN_LEFT = 0x110
KEYCODES = {"Escape": 1, "Return": 28, "space": 57, "Shift_L": 42, "Tab": 15}  # Linux input codes


class FakeInput:
    """A Wayland client of kwin's org_kde_kwin_fake_input, in the protocol's own words: a few
    requests on a Unix socket, with a round trip after each so that kwin has taken it."""

    DISPLAY, REGISTRY, FAKE, CALLBACK = 1, 2, 3, 4

    def __init__(self, path):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(path)
        self.buffer = b""
        self.send(self.DISPLAY, 1, struct.pack("<I", self.REGISTRY))  # get_registry
        name = version = None
        while name is None:
            sender, opcode, body = self.event()
            if sender == self.REGISTRY and opcode == 0:  # global
                number, interface, rest = self.unpack_global(body)
                if interface == "org_kde_kwin_fake_input":
                    name, version = number, rest
            elif sender == self.CALLBACK:
                break
        if name is None:
            raise RuntimeError("kwin offers no fake input")
        self.send(self.REGISTRY, 0, struct.pack("<I", name) + self.string("org_kde_kwin_fake_input")
                  + struct.pack("<II", min(version, 4), self.FAKE))  # bind
        self.send(self.FAKE, 0, self.string("Quintagrid tests") + self.string("test input"))
        self.roundtrip()

    @staticmethod
    def string(text):
        data = text.encode() + b"\0"
        return struct.pack("<I", len(data)) + data + b"\0" * (-len(data) % 4)

    @staticmethod
    def unpack_global(body):
        number, length = struct.unpack_from("<II", body)
        interface = body[8:8 + length - 1].decode()
        version, = struct.unpack_from("<I", body, 8 + length + (-length % 4))
        return number, interface, version

    def send(self, target, opcode, body):
        self.sock.sendall(struct.pack("<IHH", target, opcode, 8 + len(body)) + body)

    def event(self):
        while len(self.buffer) < 8 or len(self.buffer) < struct.unpack_from("<I", self.buffer,
                                                                            4)[0] >> 16:
            chunk = self.sock.recv(65536)
            if not chunk:
                raise RuntimeError("kwin closed the connection")
            self.buffer += chunk
        sender, header = struct.unpack_from("<II", self.buffer)
        size = header >> 16
        body, self.buffer = self.buffer[8:size], self.buffer[size:]
        return sender, header & 0xffff, body

    def roundtrip(self):
        self.send(self.DISPLAY, 0, struct.pack("<I", self.CALLBACK))  # sync
        while True:
            sender, opcode, body = self.event()
            if sender == self.DISPLAY and opcode == 0:  # error
                raise RuntimeError(f"Wayland error: {body!r}")
            if sender == self.CALLBACK:
                return  # done; kwin frees the callback's id (delete_id) for the next sync

    def request(self, opcode, *values):
        self.send(self.FAKE, opcode, struct.pack(f"<{len(values)}I", *values))
        self.roundtrip()

    def move(self, x, y):
        self.request(9, int(x * 256), int(y * 256))  # pointer_motion_absolute, fixed point

    def button(self, code, pressed):
        self.request(2, code, int(pressed))

    def key(self, code, pressed):
        self.request(10, code, int(pressed))  # keyboard_key

    def close(self):
        self.sock.close()


def output_settings(scale):
    """kwin 6's saved settings of its one virtual output, at this scale."""
    size = {"width": round(SCREEN[0] * scale), "height": round(SCREEN[1] * scale),
            "refreshRate": 60000}
    return [{"name": "outputs", "data": [{"connectorName": "Virtual-0", "mode": size,
                                          "scale": scale, "transform": "Normal"}]},
            {"name": "setups", "data": [{"lidClosed": False, "outputs": [
                {"enabled": True, "outputIndex": 0, "position": {"x": 0, "y": 0},
                 "priority": 0}]}]}]


class Kwin:
    """A kwin_wayland on its virtual back end with XWayland, one output of 1280 x 1024 logical
    pixels at the given scale."""

    # Where the pointer waits: away from the windows, and from the top-left corner, which
    # lights up under the pointer.
    PARK = (200, 1000)
    # The main window's outermost line is nearly black, as kwin's bare desktop is.
    DARK_EDGE = 1
    # Plasma's "Legacy applications (X11): apply scaling themselves": XWayland's screen in
    # device pixels. By default kwin 5.27 stretches X programs' 1x pictures instead.
    X_SCALES_ITSELF = False

    def __init__(self, scale):
        self.scale = scale
        self.size = (SCREEN[0] * scale, SCREEN[1] * scale)
        self.home = tempfile.mkdtemp(prefix="kwin-", dir="/tmp")
        os.chmod(self.home, 0o700)
        socket_name = "wayland-quintagrid"
        self.env = dict(os.environ, XDG_RUNTIME_DIR=self.home, HOME=self.home,
                        WAYLAND_DISPLAY=socket_name, KWIN_SCREENSHOT_NO_PERMISSION_CHECKS="1",
                        KWIN_WAYLAND_NO_PERMISSION_CHECKS="1")
        # No busy pointer while a program starts: it would change on every screenshot.
        os.makedirs(os.path.join(self.home, ".config"))
        with open(os.path.join(self.home, ".config", "klaunchrc"), "w") as f:
            f.write("[FeedbackStyle]\nBusyCursor=false\n\n[BusyCursorSettings]\nBouncing=false\n")
        # kwin 6 takes an output's scale from its saved settings, not from --scale, and
        # makes up 1 for a virtual output it has not seen.
        with open(os.path.join(self.home, ".config", "kwinoutputconfig.json"), "w") as f:
            json.dump(output_settings(scale), f)
        if self.X_SCALES_ITSELF:
            with open(os.path.join(self.home, ".config", "kwinrc"), "w") as f:
                f.write(f"[Xwayland]\nScale={scale}\n")
        self.log = open(os.path.join(self.home, "kwin.log"), "w")
        # kwin_wayland carries file capabilities, which an unprivileged process cannot start
        # and a test does not need: a copy of it has none.
        kwin = os.path.join(self.home, "kwin_wayland")
        shutil.copy(shutil.which("kwin_wayland"), kwin)
        self.scripts = 0
        self.kwin = subprocess.Popen(
            [kwin, "--virtual", "--xwayland", "--socket", socket_name, "--width",
             str(SCREEN[0]), "--height", str(SCREEN[1]), "--scale", str(scale)],
            env=dict(self.env, QT_LOGGING_RULES="kwin_scripting.debug=true"), stdout=self.log,
            stderr=subprocess.STDOUT)
        path = os.path.join(self.home, socket_name)
        poll(lambda: os.path.exists(path), bool, "kwin's socket", timeout=60)
        self.env["DISPLAY"] = ":" + poll(
            lambda: sorted(os.listdir("/tmp/.X11-unix")) if os.path.isdir("/tmp/.X11-unix")
            else [], bool, "XWayland's socket", timeout=60)[0][1:]
        if self.X_SCALES_ITSELF:  # the font resolution Plasma then gives X programs
            poll(lambda: subprocess.run(
                ["xprop", "-root", "-f", "RESOURCE_MANAGER", "8s", "-set", "RESOURCE_MANAGER",
                 f"Xft.dpi:\t{round(96 * scale)}\n"], env=self.env, capture_output=True,
                timeout=10).returncode == 0, bool, "XWayland's resources")
        self.input = poll(lambda: self.connect(path), bool, "kwin's fake input")
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION)

    @staticmethod
    def connect(path):
        try:
            return FakeInput(path)
        except (OSError, RuntimeError):
            return None

    def move(self, x, y):
        self.input.move(x, y)
        # A press that comes a millisecond after the pointer reached an X window never reaches
        # it (kwin 5.27 and its XWayland): a hand is never that quick.
        time.sleep(0.05)

    def button(self, pressed):
        self.input.button(BTN_LEFT, pressed)

    def click(self, x, y):
        self.move(x, y)
        self.button(True)
        self.button(False)

    def drag(self, start, end):
        # At a hand's pace: kwin takes the move over only once the game has asked for it, after
        # the press, and ends it at the release.
        self.move(*start)
        self.button(True)
        time.sleep(0.3)
        for i in range(1, 11):
            self.move(start[0] + (end[0] - start[0]) * i // 10,
                      start[1] + (end[1] - start[1]) * i // 10)
            time.sleep(0.03)
        time.sleep(0.3)
        self.button(False)

    def key(self, name, native):
        del native  # the same keyboard for both paths
        for pressed in (True, False):
            self.input.key(KEYCODES[name], pressed)

    def screenshot(self):
        """The output as (width, height, bytes of RGB), in device pixels."""
        reader, writer = os.pipe()
        fds = Gio.UnixFDList.new()
        fds.append(writer)
        os.close(writer)
        done = {}

        def capture():
            try:
                done["reply"] = self.bus.call_with_unix_fd_list_sync(
                    "org.kde.KWin", "/org/kde/KWin/ScreenShot2", "org.kde.KWin.ScreenShot2",
                    "CaptureArea",
                    GLib.Variant("(iiuua{sv}h)", (0, 0, SCREEN[0], SCREEN[1],
                                                  {"native-resolution": GLib.Variant("b", True)},
                                                  0)),
                    None, 0, 20000, fds, None)
            except GLib.Error as error:
                done["error"] = error
            # The list holds a copy of the pipe's end too, which would keep it open for good.
            for fd in fds.steal_fds():
                os.close(fd)

        def read():
            with os.fdopen(reader, "rb") as f:
                done["data"] = f.read()

        threads = [threading.Thread(target=capture), threading.Thread(target=read)]
        for thread in threads:
            thread.start()
        # kwin takes the picture with the next frame it paints, and paints only what changes:
        # the pointer, nudged by a pixel and at once back, until the picture is there.
        while threads[1].is_alive() and "error" not in done:
            self.input.request(1, 256, 0)  # pointer_motion by (1, 0)
            self.input.request(1, -256 & 0xffffffff, 0)
            threads[1].join(0.1)
        threads[0].join(20)
        if "error" in done:
            raise AssertionError(f"kwin took no screenshot: {done['error'].message}")
        info = done["reply"][0].unpack()[0]
        data = done["data"]
        width, height, stride = info["width"], info["height"], info["stride"]
        rgb = bytearray()
        # QImage::Format_RGB32 / ARGB32 in memory on a little-endian machine: B, G, R, A.
        for row in range(height):
            line = data[row * stride:row * stride + width * 4]
            rgb += bytes(b for i in range(0, len(line), 4)
                         for b in (line[i + 2], line[i + 1], line[i]))
        return width, height, bytes(rgb)

    def run_script(self, name, source):
        """Loads and runs a script in kwin; what it prints goes to kwin's log."""
        path = os.path.join(self.home, name + ".js")
        with open(path, "w") as f:
            f.write(source)
        number = self.bus.call_sync("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting",
                                    "loadScript", GLib.Variant("(ss)", (path, name)), None, 0,
                                    10000, None).unpack()[0]
        self.bus.call_sync("org.kde.KWin", f"/Scripting/Script{number}", "org.kde.kwin.Script",
                           "run", None, None, 0, 10000, None)

    def unload_script(self, name):
        self.bus.call_sync("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting",
                           "unloadScript", GLib.Variant("(s)", (name,)), None, 0, 10000, None)

    def printed(self, name):
        """What the script of that name has printed to kwin's log, line by line."""
        marker = f"js: {name} "
        self.log.flush()
        with open(self.log.name) as f:
            return [line[len(marker):].rstrip("\n") for line in f if line.startswith(marker)]

    def windows(self, pid):
        """The process's windows, bottom first, as kwin sees them: dicts of x, y, width and
        height in logical pixels and whether the window is active."""
        self.scripts += 1
        name = f"quintagrid-windows-{self.scripts}"
        self.run_script(name, f"print('{name} ' + JSON.stringify(workspace.stackingOrder"
                              f".filter(w => w.pid == {pid}).map(w => ({{x: w.frameGeometry.x, "
                              "y: w.frameGeometry.y, width: w.frameGeometry.width, "
                              "height: w.frameGeometry.height, active: w.active}))));\n")
        found = json.loads(poll(lambda: self.printed(name), bool, "kwin's window list")[0])
        self.unload_script(name)
        return found

    def watch_activations(self):
        """From now on kwin's log tells each window it activates."""
        self.run_script("quintagrid-activations", "workspace.windowActivated.connect(w => { "
                        "if (w) print('quintagrid-activations ' + w.pid + ' ' "
                        "+ w.frameGeometry.width); });\n")

    def activated(self, pid):
        """The widths of the process's windows kwin has activated since watch_activations,
        in order."""
        return [float(line.split()[1]) for line in self.printed("quintagrid-activations")
                if line.split()[0] == str(pid)]

    def stop(self):
        self.input.close()
        stop_compositor((self.kwin,), self.log, self.home, patience=10)


class KwinChecks(Checks):
    COMPOSITOR = Kwin
    DESKTOP = "KDE"
    NATIVE = True  # the game's choice under KDE


# KDE's choice, natively first, with no compositor there: XWayland; then GNOME's, with no X
# server there: natively.
FALLBACK_CASES = (({"WAYLAND_DISPLAY": "wayland-77"}, False),
                  ({"DISPLAY": ":77", "XDG_CURRENT_DESKTOP": "GNOME"}, True))


class Kwin1Native(KwinChecks, unittest.TestCase):
    SCALE = 1

    def test_a_platform_that_cannot_connect_falls_back_to_the_other(self):
        self.check_fallback(FALLBACK_CASES)


class Kwin1XWayland(KwinChecks, unittest.TestCase):
    SCALE = 1
    NATIVE = False
    PLATFORM = "xcb"


class Kwin2Native(KwinChecks, unittest.TestCase):
    SCALE = 2


class Kwin2XWayland(KwinChecks, unittest.TestCase):
    SCALE = 2
    NATIVE = False
    PLATFORM = "xcb"

    def test_the_picture_is_drawn_at_the_output_scale(self):
        self.skipTest("kwin 5.27 stretches the 1x picture of X programs unless they scale "
                      "themselves: not one sharp edge left, at 1.5 or 2")


class KwinXScaled(Kwin):
    X_SCALES_ITSELF = True


class Kwin2XWaylandScalingItself(Kwin2XWayland):
    COMPOSITOR = KwinXScaled
    test_the_picture_is_drawn_at_the_output_scale = (
        KwinChecks.test_the_picture_is_drawn_at_the_output_scale)


# Named to run after the 1x pictures are taken. kwin 5.27 tells a Wayland program that does not
# speak fractional scales the next whole scale, 2, and scales its picture down.
class KwinFractionalNative(KwinChecks, unittest.TestCase):
    SCALE = 1.5


class KwinFractionalXWayland(Kwin2XWayland):
    SCALE = 1.5


class KwinFractionalXWaylandScalingItself(Kwin2XWaylandScalingItself):
    SCALE = 1.5


# kwin 6 lists an X window as active before XWayland hands it the pointer: a press within the
# first tenths of a second after the window appears reaches no one (the game's input log
# shows none). A hand takes longer to get there; the suite waits as long.
SETTLE = 1.0


class WindowListChecks:
    """What must hold, read from kwin's own list of windows rather than from pixels: kwin 6 on
    a virtual back end without a DRM render node composites with QPainter and then takes no
    screenshots. The place, size, stacking and activity of each window come from a kwin script;
    how finely the game draws, from the size of what it hands over in device pixels. As Plasma
    does, the X programs are told the output's scale through Xft.dpi."""
    SCALE = 1
    NATIVE = True
    PLATFORM = None

    @classmethod
    def setUpClass(cls):
        cls.compositor = Kwin(cls.SCALE)
        try:
            # kwin 6 gives XWayland the output's scale (the X screen is in device pixels);
            # Plasma's font settings then tell X programs that scale as Xft.dpi.
            subprocess.run(["xprop", "-root", "-f", "RESOURCE_MANAGER", "8s", "-set",
                            "RESOURCE_MANAGER", f"Xft.dpi:\t{round(96 * cls.SCALE)}\n"],
                           env=cls.compositor.env, check=True, timeout=10)
            cls.compositor.watch_activations()
        except BaseException:
            cls.compositor.stop()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.compositor.stop()

    def setUp(self):
        self.game = None
        self.directory = tempfile.mkdtemp(prefix="game-", dir="/tmp")
        self.compositor.move(*Kwin.PARK)

    def tearDown(self):
        if self.game is not None and self.game.poll() is None:
            self.game.kill()
            self.game.wait()
        shutil.rmtree(self.directory, ignore_errors=True)

    def start_game(self, **changes):
        env = dict(self.compositor.env, XDG_SESSION_TYPE="wayland", XDG_CURRENT_DESKTOP="KDE",
                   QUINTAGRID_SEED="7")
        if self.PLATFORM:
            env["QT_QPA_PLATFORM"] = self.PLATFORM
        env.update(changes)
        self.log = os.path.join(self.directory, "game.log")
        with open(self.log, "w") as log:
            self.game = subprocess.Popen([mutter_e2e.GAME], cwd=self.directory, env=env,
                                         stdout=subprocess.DEVNULL, stderr=log)
        main = self.wait_on_top(MAIN_SIZE, "the main window")
        time.sleep(SETTLE)
        return main

    def find(self, size, windows=None):
        """The game's window of this size (logical pixels, give or take one at a fractional
        scale), or None."""
        windows = self.compositor.windows(self.game.pid) if windows is None else windows
        return next((w for w in windows if abs(w["width"] - size[0]) <= 1
                     and abs(w["height"] - size[1]) <= 1), None)

    def wait_on_top(self, size, what, at=None):
        """Waits until the game's topmost window has this size (and place) and is active."""
        def fits(windows):
            if not windows or not windows[-1]["active"] or self.find(size, windows[-1:]) is None:
                return False
            return at is None or all(abs(windows[-1][k] - v) <= 1 for k, v in zip("xy", at))
        return poll(lambda: self.compositor.windows(self.game.pid), fits, what, timeout=30)[-1]

    def wait_gone(self, size, what):
        poll(lambda: self.find(size), lambda w: w is None, what, timeout=30)

    def click(self, window, at):
        # As a hand clicks: the pointer comes to rest on the spot before the press. XWayland
        # loses a press that comes in the same instant as the pointer's jump onto a window.
        self.compositor.move(window["x"] + at[0], window["y"] + at[1])
        time.sleep(0.2)
        self.compositor.button(True)
        time.sleep(0.05)
        self.compositor.button(False)
        self.compositor.move(*Kwin.PARK)

    def key(self, name):
        self.compositor.key(name, self.NATIVE)

    def test_starts_where_it_belongs_and_its_windows_follow_a_drag(self):
        main = self.start_game()
        if not self.NATIVE:  # kwin lets an X program place its windows: centred by the game
            for got, centred in zip((main["x"], main["y"]), ((SCREEN[0] - MAIN_SIZE[0]) // 2,
                                                              (SCREEN[1] - MAIN_SIZE[1]) // 2)):
                self.assertAlmostEqual(got, centred, delta=1)  # whole device pixels at 1.5
        for size, opener in ((MAIN_SIZE, None), (ABOUT_SIZE, ABOUT)):
            window = main
            if opener is not None:
                self.click(main, button_centre(opener))
                window = self.wait_on_top(size, "the About window")
                time.sleep(SETTLE)
            start = (window["x"] + 8, window["y"] + 8)  # the wooden background
            self.compositor.drag(start, (start[0] + 60, start[1] + 40))
            main = self.wait_on_top(size, f"the {size} window dragged by (60, 40)",
                                    at=(window["x"] + 60, window["y"] + 40))
            main = self.find(MAIN_SIZE)
        self.key("Return")  # About's OK
        self.wait_gone(ABOUT_SIZE, "About closed by Enter")

    def test_the_open_window_stays_in_front_with_the_keyboard(self):
        main = self.start_game()
        for size, opener in ((HIGH_SCORES_SIZE, HIGH_SCORES), (ABOUT_SIZE, ABOUT)):
            self.click(main, button_centre(opener))
            window = self.wait_on_top(size, f"the {size} window open")
            before = len(self.compositor.activated(self.game.pid))
            self.click(main, (8, 8))  # the main window's background, outside the open one
            time.sleep(0.5)  # as long as the game gives a compositor to bring it back
            self.wait_on_top(size, f"the {size} window in front and active after a click on "
                                   "the main window", at=(window["x"], window["y"]))
            since = self.compositor.activated(self.game.pid)[before:]
            # The click reached kwin, which activated the main window; then the open one came
            # back.
            self.assertTrue(since and abs(since[0] - MAIN_SIZE[0]) <= 1
                            and abs(since[-1] - size[0]) <= 1, f"activated since: {since}")
            self.key("Escape")
            self.wait_gone(size, f"Escape closing the {size} window")
            self.wait_on_top(MAIN_SIZE, "the main window active again")

    def test_ok_takes_the_first_click(self):
        main = self.start_game()
        for _ in range(2):
            self.click(main, button_centre(HIGH_SCORES))
            scores = self.wait_on_top(HIGH_SCORES_SIZE, "the high-score list")
            self.click(scores, button_centre(SCORES_OK))
            self.wait_gone(HIGH_SCORES_SIZE, "one click on OK closing the list")

    def test_the_keyboard_reaches_the_game(self):
        # Begin has the focus; Tab goes on to the board, then to High Scores, which Space
        # presses; Enter is the list's OK.
        self.start_game()
        for name in ("Tab", "Tab", "space"):
            self.key(name)
        self.wait_on_top(HIGH_SCORES_SIZE, "the list opened by Tab, Tab, Space")
        self.key("Return")
        self.wait_gone(HIGH_SCORES_SIZE, "the list closed by Enter")

    def test_a_game_is_played_with_the_keyboard(self):
        self.start_game()
        # A cell's plain colours, as the pixels are weighed; a card is none of them.
        plain = [(r * 3 + g * 6 + b) // 10 for r, g, b in (NORMAL, ACCEPTS, REFUSES)]

        def card_in(cell):
            # In any drawn buffer: the other one may still hold the frame before.
            poll(lambda: self.greys_at(cell_centre(cell)),
                 lambda greys: any(g not in plain for g in greys), f"a card in cell {cell}")
        self.key("Return")  # Begin has the focus
        card_in(0)
        self.key("space")  # the cursor starts on the cell right of it
        card_in(1)

    def test_the_picture_is_drawn_at_the_output_scale(self):
        # The legend's picture as the game hands it over, in device pixels, against the 1x
        # one: kwin shows it pixel for pixel, natively through the fractional-scale protocol
        # and a viewport, through XWayland on an X screen in device pixels.
        self.start_game(**({"WAYLAND_DEBUG": "client"} if self.NATIVE else {}))
        box = [round(v * self.SCALE) for v in LEGEND]
        legend = self.native_pixels if self.NATIVE else self.x_pixels
        if self.SCALE in (1, 2):
            check_drawn_at_scale(self, self.SCALE, self.NATIVE, lambda: legend(box))
        else:
            # Stretched, a 1x picture keeps at most its own sharp edges in each of its rows,
            # now SCALE times as many; drawn at the scale, its finer strokes have more.
            one_x = ONE_X.get(self.NATIVE)
            if one_x is None:
                self.skipTest("the 1x picture was not taken")
            edges = poll(lambda: sharp_edges(legend(box), 1, 0),
                         lambda n: n > one_x * self.SCALE,
                         f"a picture drawn at {self.SCALE}: more than {one_x * self.SCALE:g} "
                         "sharp edges")
            print(f"\n  sharp edges: 1x {one_x}, at {self.SCALE} {edges}", file=sys.stderr)
        if self.NATIVE:
            with open(self.log) as f:
                scales = re.findall(r"preferred_scale\((\d+)\)", f.read())
            print(f"  kwin's preferred scales: {[int(s) / 120 for s in scales]}",
                  file=sys.stderr)

    def native_buffers(self, box):
        """Each of the main window's buffers as rows of (grey, alpha) of the box, read from
        the game's memory: kwin 6 here takes no screenshots. A buffer not drawn yet is clear."""
        x, y, width, height = box
        size = (round(MAIN_SIZE[0] * self.SCALE), round(MAIN_SIZE[1] * self.SCALE))
        with open(f"/proc/{self.game.pid}/maps") as f:
            spans = [[int(v, 16) for v in line.split()[0].split("-")] for line in f
                     if "wayland-shm" in line]
        found = []
        with open(f"/proc/{self.game.pid}/mem", "rb") as mem:
            for start, end in spans:
                if end - start < size[0] * size[1] * 4:
                    continue  # a pointer's picture
                mem.seek(start)
                data = mem.read(size[0] * size[1] * 4)
                # ARGB32 in memory on a little-endian machine: blue, green, red, alpha.
                found.append([[((data[i + 2] * 3 + data[i + 1] * 6 + data[i]) // 10, data[i + 3])
                               for i in range(((y + row) * size[0] + x) * 4,
                                              ((y + row) * size[0] + x + width) * 4, 4)]
                              for row in range(height)])
        return found

    def native_pixels(self, box):
        """Grey rows of the box in the buffer with the most sharp edges, as the other one may
        not be drawn yet."""
        grey = [[[g for g, _ in row] for row in rows] for rows in self.native_buffers(box)]
        return max(grey, key=lambda rows: sharp_edges(rows, 1, 0), default=[])

    def greys_at(self, at):
        """The grey of the main window's pixel at a logical point, in each drawn buffer."""
        box = (round(at[0] * self.SCALE), round(at[1] * self.SCALE), 1, 1)
        if not self.NATIVE:
            return [self.x_pixels(box)[0][0]]
        return [rows[0][0][0] for rows in self.native_buffers(box) if rows[0][0][1] == 255]

    def x_pixels(self, box):
        """Grey rows of a box of the main window on the X screen."""
        window = max(poll(lambda: subprocess.run(
            ["xdotool", "search", "--onlyvisible", "--pid", str(self.game.pid)],
            env=self.compositor.env, capture_output=True, text=True).stdout.split(), bool,
            "the game's X window"), key=int)
        with xwire.Connection(int(self.compositor.env["DISPLAY"][1:])) as x:
            rows = x.pixels(*box, window=int(window))
        return [[(r * 3 + g * 6 + b) // 10 for r, g, b in row] for row in rows]


def test_a_platform_that_cannot_connect_falls_back_to_the_other(self):
    check_fallback(self, FALLBACK_CASES)


def window_list_case(scale, native):
    """A test case class of WindowListChecks at this scale, natively or through XWayland."""
    name = f"Kwin6_{str(scale).replace('.', '_')}{'Native' if native else 'XWayland'}"
    tests = {"SCALE": scale, "NATIVE": native, "PLATFORM": None if native else "xcb"}
    if scale == 1 and native:
        tests[test_a_platform_that_cannot_connect_falls_back_to_the_other.__name__] = \
            test_a_platform_that_cannot_connect_falls_back_to_the_other
    return type(name, (WindowListChecks, unittest.TestCase), tests)


WINDOW_LIST_CASES = [window_list_case(scale, native) for scale in (1, 1.5, 2)
                     for native in (True, False)]


def kwin_major_version():
    """kwin_wayland's major version, from a copy of it (see Kwin)."""
    with tempfile.TemporaryDirectory() as folder:
        kwin = shutil.copy(shutil.which("kwin_wayland"), folder)
        version = subprocess.run([kwin, "--version"], capture_output=True, text=True).stdout
    return int(version.split()[-1].split(".")[0])


def main():
    args = arguments("kwin_wayland")
    mutter_e2e.GAME = os.path.abspath(args.game)
    tests = sys.modules[__name__]
    if kwin_major_version() >= 6:
        # kwin 6 takes screenshots only when it composites with OpenGL; read its window list.
        tests = types.ModuleType("kwin6")
        for case in WINDOW_LIST_CASES:
            setattr(tests, case.__name__, case)
    return run_tests(tests, args.patterns)


if __name__ == "__main__":
    sys.exit(main())
