#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real game under weston, the reference Wayland compositor, with its desktop shell:
natively (the game's choice outside GNOME) and through XWayland, with the checks of the mutter
suite. At scale 1 weston runs on its VNC back end, and real pointer and keys come through VNC
(VeNCrypt: TLS with a throw-away certificate, and a user name and password that a PAM
configuration of the suite's own accepts), the pixels from the VNC framebuffer. weston 14's VNC
back end ends at the first picture of an output at scale 2, so at 2 weston runs on its headless
back end, which takes no input: the checks that need none run there, with the pixels from
weston's screenshooter.

Started by run_compositor.sh as root inside private mount and network namespaces.

    sh tests/e2e/run_compositor.sh weston build/ui/quintagrid [-k pattern]
"""

import glob
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import gi

gi.require_version("GdkPixbuf", "2.0")
from gi.repository import GdkPixbuf  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import mutter_e2e  # noqa: E402
import rfb  # noqa: E402
from harness import SCREEN  # noqa: E402
from mutter_e2e import Checks  # noqa: E402
from wayland_e2e import arguments, poll, run_tests, stop_compositor  # noqa: E402

VNC_PORT = 5900
PAM_SERVICE = "/etc/pam.d/weston-remote-access"
# A plain, light desktop (the windows have a dark outer line): no panel (its clock changes the
# picture), no animations.
CONFIG = """[core]
xwayland=true
[shell]
panel-position=none
background-color=0xffc8d0d8
animation=none
close-animation=none
startup-animation=none
[output]
name=vnc
scale={scale}
"""


class Weston:
    """weston with XWayland on one output of 1280 x 1024 logical pixels at the given scale."""

    PARK = (2, 2)  # where the pointer waits, away from the windows
    DARK_EDGE = 0
    DROPS_FIRST_KEY = False

    def __init__(self, scale):
        self.scale = scale
        self.size = (SCREEN[0] * scale, SCREEN[1] * scale)
        self.home = tempfile.mkdtemp(prefix="weston-", dir="/tmp")
        os.chmod(self.home, 0o700)
        self.env = dict(os.environ, XDG_RUNTIME_DIR=self.home, HOME=self.home,
                        WAYLAND_DISPLAY="wayland-quintagrid")
        config = os.path.join(self.home, "weston.ini")
        with open(config, "w") as f:
            f.write(CONFIG.format(scale=scale))
        command = ["weston", "-c", config, "--xwayland", "--socket", self.env["WAYLAND_DISPLAY"]]
        self.vnc = None
        if scale == 1:
            command += self.vnc_back_end()
        else:
            command += ["--backend=headless", "--renderer=pixman", f"--width={SCREEN[0]}",
                        f"--height={SCREEN[1]}", f"--scale={scale}", "--debug"]
        self.log = open(os.path.join(self.home, "weston.log"), "w")
        self.weston = subprocess.Popen(command, env=self.env, stdout=self.log,
                                       stderr=subprocess.STDOUT)
        poll(lambda: os.path.exists(os.path.join(self.home, self.env["WAYLAND_DISPLAY"])), bool,
             "weston's socket", timeout=30)
        self.env["DISPLAY"] = ":" + poll(
            lambda: sorted(os.listdir("/tmp/.X11-unix")) if os.path.isdir("/tmp/.X11-unix")
            else [], bool, "XWayland's socket", timeout=30)[0][1:]
        if scale == 1:
            self.vnc = rfb.Client("127.0.0.1", VNC_PORT, user="root", password="any")
            self.move(*self.PARK)  # the pointer is part of the picture

    def vnc_back_end(self):
        """The VNC back end's arguments: on loopback, with a throw-away certificate, and a PAM
        service, in the suite's own mount namespace, that lets the user in."""
        key, cert = (os.path.join(self.home, name) for name in ("tls.key", "tls.crt"))
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
                        key, "-out", cert, "-subj", "/CN=localhost", "-days", "1"],
                       check=True, capture_output=True, timeout=60)
        service = os.path.join(self.home, "pam")
        with open(service, "w") as f:
            f.write("auth required pam_permit.so\naccount required pam_permit.so\n")
        if not os.path.exists(PAM_SERVICE):
            open(PAM_SERVICE, "w").close()  # weston's package brings it
        subprocess.run(["mount", "--bind", service, PAM_SERVICE], check=True)
        return ["--backend=vnc", f"--width={SCREEN[0]}", f"--height={SCREEN[1]}",
                "--address=127.0.0.1", f"--port={VNC_PORT}", f"--vnc-tls-cert={cert}",
                f"--vnc-tls-key={key}"]

    def input(self):
        if self.vnc is None:
            raise unittest.SkipTest("weston's headless back end takes no input")
        return self.vnc

    def move(self, x, y):
        if self.vnc is not None:  # without input the pointer is never drawn
            self.vnc.move(x, y)

    def button(self, pressed):
        if pressed:
            self.input().press()
        else:
            self.input().release()

    def click(self, x, y):
        self.input().click(x, y)

    def drag(self, start, end):
        self.input().drag(start, end)
        self.move(*self.PARK)  # the pointer is part of the picture: back where it was

    def key(self, name, native):
        del native  # the same keyboard for both paths
        self.input().key(name)

    def screenshot(self):
        """The output as (width, height, bytes of RGB), in device pixels."""
        if self.vnc is not None:
            return self.vnc.screenshot()
        return self.screenshooter()

    def screenshooter(self):
        folder = tempfile.mkdtemp(dir=self.home)
        subprocess.run(["weston-screenshooter"], cwd=folder, env=self.env, check=True,
                       capture_output=True, timeout=30)
        picture = GdkPixbuf.Pixbuf.new_from_file(glob.glob(folder + "/*.png")[0])
        shutil.rmtree(folder)
        width, height, stride = picture.get_width(), picture.get_height(), picture.get_rowstride()
        channels, data = picture.get_n_channels(), picture.get_pixels()
        rgb = bytearray(width * height * 3)
        for row in range(height):
            line = data[row * stride:row * stride + width * channels]
            for channel in range(3):
                rgb[row * width * 3 + channel:(row + 1) * width * 3:3] = line[channel::channels]
        return width, height, bytes(rgb)

    def stop(self):
        if self.vnc is not None:
            self.vnc.close()
            subprocess.run(["umount", PAM_SERVICE], check=False)
        stop_compositor((self.weston,), self.log, self.home, patience=10)


class WestonChecks(Checks):
    COMPOSITOR = Weston
    DESKTOP = "Weston"
    NATIVE = True  # the game's choice outside GNOME


class Weston1Native(WestonChecks, unittest.TestCase):
    SCALE = 1

    def test_a_platform_that_cannot_connect_falls_back_to_the_other(self):
        # No compositor there: XWayland; GNOME's choice, XWayland first, with no X server
        # there: natively.
        self.check_fallback((({"WAYLAND_DISPLAY": "wayland-77"}, False),
                             ({"DISPLAY": ":77", "XDG_CURRENT_DESKTOP": "GNOME"}, True)))


class Weston1XWayland(WestonChecks, unittest.TestCase):
    SCALE = 1
    NATIVE = False
    PLATFORM = "xcb"


class Weston2Native(WestonChecks, unittest.TestCase):
    SCALE = 2


class Weston2XWayland(WestonChecks, unittest.TestCase):
    SCALE = 2
    NATIVE = False
    PLATFORM = "xcb"

    def test_the_picture_is_drawn_at_the_output_scale(self):
        self.skipTest("weston 14 stretches every X window to the output scale")


def main():
    args = arguments("weston")
    mutter_e2e.GAME = os.path.abspath(args.game)
    return run_tests(sys.modules[__name__], args.patterns)


if __name__ == "__main__":
    sys.exit(main())
