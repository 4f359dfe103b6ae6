#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real game under kwin_wayland, KDE Plasma's compositor, on its virtual (headless)
back end: natively (the game's choice under KDE) and through XWayland, at scales 1, 1.5 and 2
(XWayland also with X programs scaling themselves, as Plasma's display settings offer), with
the checks of the mutter suite. Pointer and keys come through kwin's fake-input Wayland
protocol, spoken here directly; the pixels from kwin's screenshot D-Bus interface.

Started by run_compositor.sh as root inside private mount and network namespaces, in a D-Bus
session of its own (dbus-run-session), with the system Python's GObject bindings.

    sh tests/e2e/run_compositor.sh kwin build/ui/quintagrid [-k pattern]
"""

import os
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time
import unittest

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import mutter_e2e  # noqa: E402
from harness import SCREEN  # noqa: E402
from mutter_e2e import Checks, changed_box  # noqa: E402
from wayland_e2e import arguments, poll, run_tests  # noqa: E402

BTN_LEFT = 0x110
KEYCODES = {"Escape": 1, "Return": 28, "space": 57, "Shift_L": 42}  # Linux input codes


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
        if self.X_SCALES_ITSELF:
            with open(os.path.join(self.home, ".config", "kwinrc"), "w") as f:
                f.write(f"[Xwayland]\nScale={scale}\n")
        self.log = open(os.path.join(self.home, "kwin.log"), "w")
        # kwin_wayland carries file capabilities, which an unprivileged process cannot start
        # and a test does not need: a copy of it has none.
        kwin = os.path.join(self.home, "kwin_wayland")
        shutil.copy(shutil.which("kwin_wayland"), kwin)
        self.kwin = subprocess.Popen(
            [kwin, "--virtual", "--xwayland", "--socket", socket_name, "--width",
             str(SCREEN[0]), "--height", str(SCREEN[1]), "--scale", str(scale)],
            env=self.env, stdout=self.log, stderr=subprocess.STDOUT)
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

    def stop(self):
        self.input.close()
        self.kwin.terminate()
        try:
            self.kwin.wait(10)
        except subprocess.TimeoutExpired:
            self.kwin.kill()
            self.kwin.wait()
        self.log.close()
        shutil.rmtree(self.home, ignore_errors=True)


class KwinChecks(Checks):
    COMPOSITOR = Kwin
    DESKTOP = "KDE"
    NATIVE = True  # the game's choice under KDE


class Kwin1Native(KwinChecks, unittest.TestCase):
    SCALE = 1

    def test_a_platform_that_cannot_connect_falls_back_to_the_other(self):
        # KDE's choice, natively first, with no compositor there: XWayland; then GNOME's,
        # XWayland first, with no X server there: natively.
        for changes, native in (({"WAYLAND_DISPLAY": "wayland-77"}, False),
                                ({"DISPLAY": ":77", "XDG_CURRENT_DESKTOP": "GNOME"}, True)):
            self.start_game(**changes)
            found = subprocess.run(["xdotool", "search", "--pid", str(self.game.pid)],
                                   env=self.compositor.env, capture_output=True, text=True).stdout
            self.assertEqual(found == "", native, f"natively: {native}")
            self.game.terminate()
            self.assertEqual(self.game.wait(10), 0)
            poll(lambda: changed_box(self.compositor.screenshot(), self.desktop, self.SCALE),
                 lambda box: box is None, "the desktop bare again")


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


def main():
    args = arguments("kwin_wayland")
    mutter_e2e.GAME = os.path.abspath(args.game)
    return run_tests(sys.modules[__name__], args.patterns)


if __name__ == "__main__":
    sys.exit(main())
