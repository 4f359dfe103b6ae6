#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real game under mutter, GNOME's compositor, headless: through XWayland (the game's choice
under GNOME without fractional scaling) and natively, at output scales 1 and 2, and with
fractional scaling on at 1.5 and 2. Pointer and keys come through mutter's remote-desktop
interface, the pixels from its screen-cast stream (PipeWire, read by GStreamer); under XWayland
the keys come through xdotool, as mutter's own key injection drops presses there.

Started by run_compositor.sh as root inside private mount and network namespaces, in a D-Bus
session of its own (dbus-run-session), with the system Python's GObject bindings.

    sh tests/e2e/run_compositor.sh mutter build/ui/quintagrid [-k pattern]
"""

import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from harness import (ABOUT, ABOUT_SIZE, ACCEPTS, BEGIN, BUTTON_SIZE, EXIT,  # noqa: E402
                     HIGH_SCORES, HIGH_SCORES_SIZE, MAIN_SIZE, MINIMIZE, NORMAL, REFUSES,
                     SCORES_OK, SCREEN, button_centre, cell_centre)
from wayland_e2e import (BACKGROUND, LEGEND, arguments, check_drawn_at_scale, crop,  # noqa: E402
                         poll, run_tests, stop_compositor)

GAME = ""
BTN_LEFT = 0x110
KEYSYMS = {"Return": 0xff0d, "Escape": 0xff1b, "space": 0x20, "Shift_L": 0xffe1}
DIFFERENT = 100  # a window's edge against the desktop or another window, summed over R, G, B


class Mutter:
    """A headless mutter with XWayland on one virtual monitor of 1280 x 1024 logical pixels,
    a PipeWire for its screen cast, and a remote-desktop session on that monitor."""

    PARK = (2, 2)  # where the pointer waits, away from the windows
    DARK_EDGE = 0  # the width of a window's edge that may not be told from the desktop
    # mutter's experimental features, for mutter and for the game asking gsettings: none, as
    # GNOME without fractional scaling (Debian 13's mutter turns it on by default).
    FEATURES = "[]"
    FRACTIONAL = False  # whether the features turn fractional scaling on
    DROPS_FIRST_KEY = True  # loses the first key it injects into a native program's focus

    def __init__(self, scale):
        self.scale = scale
        self.size = (round(SCREEN[0] * scale), round(SCREEN[1] * scale))
        self.home = tempfile.mkdtemp(prefix="mutter-", dir="/tmp")
        os.chmod(self.home, 0o700)
        self.env = dict(os.environ, XDG_RUNTIME_DIR=self.home, HOME=self.home,
                        WAYLAND_DISPLAY="wayland-quintagrid")
        self.log = open(os.path.join(self.home, "mutter.log"), "w")
        settings = os.path.join(self.home, "glib-2.0", "settings")
        os.makedirs(settings)
        with open(os.path.join(settings, "keyfile"), "w") as keyfile:
            keyfile.write(f"[org/gnome/mutter]\nexperimental-features={self.FEATURES}\n")
        self.env.update(GSETTINGS_BACKEND="keyfile", XDG_CONFIG_HOME=self.home)
        self.processes = []
        self.start("pipewire")
        poll(lambda: os.path.exists(os.path.join(self.home, "pipewire-0")), bool, "PipeWire")
        self.start("wireplumber")
        self.start("mutter", "--headless", "--wayland", "--wayland-display",
                   self.env["WAYLAND_DISPLAY"], "--virtual-monitor", "%dx%d" % self.size)
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION)
        poll(lambda: self.bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                        "org.freedesktop.DBus", "NameHasOwner",
                                        GLib.Variant("(s)", ("org.gnome.Mutter.RemoteDesktop",)),
                                        None, 0, 1000, None).unpack()[0], bool,
             "mutter's remote-desktop interface")
        if scale != 1:
            self.set_scale(scale)
        self.env["XAUTHORITY"] = poll(lambda: glob.glob(self.home + "/.mutter-Xwaylandauth*"),
                                      bool, "XWayland's authority file")[0]
        self.env["DISPLAY"] = ":0"  # the namespace's own /tmp: mutter takes the first
        # As GNOME's settings daemon tells X programs the scale, unless mutter stretches them.
        if scale != 1 and not self.FRACTIONAL:
            subprocess.run(["xprop", "-root", "-f", "RESOURCE_MANAGER", "8s", "-set",
                            "RESOURCE_MANAGER", f"Xft.dpi:\t{96 * scale}\n"], env=self.env,
                           check=True, timeout=10)
        self.start_remote_desktop()

    def start(self, *command):
        self.processes.append(subprocess.Popen(command, env=self.env, stdout=self.log,
                                               stderr=subprocess.STDOUT))

    def call(self, name, path, interface, method, args=None):
        reply = self.bus.call_sync("org.gnome.Mutter." + name, path, interface, method, args,
                                   None, 0, 10000, None)
        return reply.unpack() if reply is not None else None

    def set_scale(self, scale):
        display = ("DisplayConfig", "/org/gnome/Mutter/DisplayConfig",
                   "org.gnome.Mutter.DisplayConfig")
        serial, monitors, _, _ = self.call(*display, "GetCurrentState")
        (connector, *_), modes, _ = monitors[0]
        mode = next(m[0] for m in modes if m[6].get("is-current"))
        self.call(*display, "ApplyMonitorsConfig", GLib.Variant(
            "(uua(iiduba(ssa{sv}))a{sv})",
            (serial, 1, [(0, 0, float(scale), 0, True, [(connector, mode, {})])], {})))

    def start_remote_desktop(self):
        path = "/org/gnome/Mutter/RemoteDesktop"
        self.session = self.call("RemoteDesktop", path, "org.gnome.Mutter.RemoteDesktop",
                                 "CreateSession")[0]
        session_id = self.bus.call_sync(
            "org.gnome.Mutter.RemoteDesktop", self.session, "org.freedesktop.DBus.Properties",
            "Get", GLib.Variant("(ss)", ("org.gnome.Mutter.RemoteDesktop.Session", "SessionId")),
            None, 0, 10000, None).unpack()[0]
        cast = self.call("ScreenCast", "/org/gnome/Mutter/ScreenCast",
                         "org.gnome.Mutter.ScreenCast", "CreateSession",
                         GLib.Variant("(a{sv})", ({"remote-desktop-session-id":
                                                   GLib.Variant("s", session_id)},)))[0]
        self.stream = self.call("ScreenCast", cast, "org.gnome.Mutter.ScreenCast.Session",
                                "RecordMonitor", GLib.Variant("(sa{sv})", ("Meta-0", {})))[0]
        nodes = []
        self.bus.signal_subscribe("org.gnome.Mutter.ScreenCast",
                                  "org.gnome.Mutter.ScreenCast.Stream", "PipeWireStreamAdded",
                                  self.stream, None, 0,
                                  lambda *signal: nodes.append(signal[5].unpack()[0]))
        self.remote("Start")
        context = GLib.MainContext.default()
        self.node = poll(lambda: context.iteration(False) and False or nodes, bool,
                         "the screen-cast stream")[0]

    def remote(self, method, signature=None, *args):
        self.call("RemoteDesktop", self.session, "org.gnome.Mutter.RemoteDesktop.Session",
                  method, GLib.Variant(signature, args) if signature else None)

    def move(self, x, y):
        """Moves the pointer to a point in logical pixels; the stream's are device pixels."""
        self.remote("NotifyPointerMotionAbsolute", "(sdd)", self.stream, float(x * self.scale),
                    float(y * self.scale))
        time.sleep(0.05)

    def button(self, pressed):
        self.remote("NotifyPointerButton", "(ib)", BTN_LEFT, pressed)
        time.sleep(0.05)

    def click(self, x, y):
        self.move(x, y)
        self.button(True)
        self.button(False)

    def drag(self, start, end):
        # A hand's drag: onto the spot, press, two steps along the way, release.
        self.move(*start)
        self.button(True)
        for i in (1, 2):
            self.move(start[0] + (end[0] - start[0]) * i // 2,
                      start[1] + (end[1] - start[1]) * i // 2)
        self.button(False)

    def key(self, name, native):
        if native:
            for pressed in (True, False):
                self.remote("NotifyKeyboardKeysym", "(ub)", KEYSYMS[name], pressed)
                time.sleep(0.05)
        else:
            subprocess.run(["xdotool", "key", name], env=self.env, check=True, timeout=10)

    def screenshot(self):
        """The monitor as (width, height, bytes of RGB), in device pixels."""
        out = os.path.join(self.home, "shot.rgb")
        subprocess.run(["gst-launch-1.0", "-q", "pipewiresrc", f"path={self.node}",
                        "always-copy=true", "num-buffers=1", "!", "videoconvert", "!",
                        "video/x-raw,format=RGB", "!", "filesink", f"location={out}"],
                       env=self.env, check=True, timeout=30, capture_output=True)
        with open(out, "rb") as f:
            return self.size[0], self.size[1], f.read()

    def stop(self):
        stop_compositor(reversed(self.processes), self.log, self.home)


def changed_box(shot, before, scale, unchanged=()):
    """The box, in logical pixels (x, y, width, height), of what a window put on the screen
    between two screenshots; None when nothing. Left out: changes fainter than a window's edge
    against what was there (the background's dithering), the compositor's shadows, and the
    boxes in `unchanged`, in logical pixels (x, y, width, height)."""
    width, height, data = shot
    old = before[2]
    masks = [(bx * scale, by * scale, (bx + bw) * scale, (by + bh) * scale)
             for bx, by, bw, bh in unchanged]

    def differs(x, y):
        if any(left <= x < right and top <= y < bottom for left, top, right, bottom in masks):
            return False
        i = (y * width + x) * 3
        new, was = data[i:i + 3], old[i:i + 3]
        if sum(abs(n - w) for n, w in zip(new, was)) <= DIFFERENT:
            return False
        # A shadow darkens what is under it, every channel by the same share.
        share = sum(new) / max(1, sum(was))
        return share > 1 or any(abs(n - w * share) > 12 for n, w in zip(new, was))

    every = max(1, int(scale))  # a device pixel of each logical one, at a fractional scale all
    step = 2 * every
    rows = [y for y in range(0, height, every)
            if data[y * width * 3:(y + 1) * width * 3] != old[y * width * 3:(y + 1) * width * 3]
            and any(differs(x, y) for x in range(0, width, step))]
    if not rows:
        return None
    columns = [x for x in range(0, width, every)
               if any(differs(x, y) for y in range(rows[0], rows[-1] + 1, step))]
    return (int(columns[0] / scale), int(rows[0] / scale),
            int((columns[-1] - columns[0]) / scale) + 1, int((rows[-1] - rows[0]) / scale) + 1)


def still(compositor):
    """A screenshot once the picture has stopped changing."""
    return poll(lambda: (compositor.screenshot(), time.sleep(0.3), compositor.screenshot()),
                lambda shots: shots[0][2] == shots[2][2], "a still picture")[2]


def check_fallback(test, cases, gone=lambda: None):
    """Starts the game with each case's changes to the environment and checks that it ran
    natively or not, as the case says, and ended normally; `gone()` waits for its windows to
    leave the screen."""
    for changes, native in cases:
        test.start_game(**changes)
        found = subprocess.run(["xdotool", "search", "--pid", str(test.game.pid)],
                               env=test.compositor.env, capture_output=True, text=True).stdout
        test.assertEqual(found == "", native, f"natively: {native}")
        test.game.terminate()
        test.assertEqual(test.game.wait(10), 0)
        gone()


class Checks:
    """What must hold under a compositor, on either path and at any scale. Mixed into a
    unittest.TestCase with COMPOSITOR, a class like Mutter, started once per case class."""
    COMPOSITOR = None
    DESKTOP = "GNOME"
    SCALE = 1
    NATIVE = False  # through XWayland
    PLATFORM = None  # None: the game's own choice; else the user's choice, QT_QPA_PLATFORM
    DESIGN_PLACES = True  # where the compositor lets the game place its windows on this path

    @classmethod
    def setUpClass(cls):
        cls.compositor = cls.COMPOSITOR(cls.SCALE)
        try:
            cls.desktop = still(cls.compositor)
        except BaseException:
            cls.compositor.stop()  # tearDownClass does not run after a failed set-up
            raise

    @classmethod
    def tearDownClass(cls):
        cls.compositor.stop()

    def setUp(self):
        self.game = None
        self.directory = tempfile.mkdtemp(prefix="game-", dir="/tmp")
        self.compositor.move(*self.compositor.PARK)  # away from the windows and buttons

    def tearDown(self):
        if self.game is not None and self.game.poll() is None:
            self.game.kill()
            self.game.wait()
        shutil.rmtree(self.directory, ignore_errors=True)
        # Every window gone, so that the next test starts on the bare desktop.
        poll(lambda: changed_box(self.compositor.screenshot(), self.desktop, self.SCALE),
             lambda box: box is None, "the desktop bare again")

    def start_game(self, **changes):
        env = dict(self.compositor.env, XDG_SESSION_TYPE="wayland",
                   XDG_CURRENT_DESKTOP=self.DESKTOP,
                   QUINTAGRID_SEED="7")
        if self.PLATFORM:
            env["QT_QPA_PLATFORM"] = self.PLATFORM
        env.update(changes)
        self.game = subprocess.Popen([GAME], cwd=self.directory, env=env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        main = self.wait_for(self.desktop, MAIN_SIZE, "the main window")
        if self.NATIVE and getattr(self.compositor, "DROPS_FIRST_KEY", True):
            # mutter drops the first key it injects into a Wayland program's new keyboard
            # focus: a Shift press and release, which the game ignores, takes that place.
            self.key("Shift_L")
        return main

    def wait_for(self, before, size, what, at=None, main=None):
        """Waits until what differs from `before` is a window of this size (at this place),
        and returns its place. Over the main window (at `main`), that window's buttons show
        whether it has the focus, so they are left out."""
        unchanged = [(main[0] + x, main[1] + y, *BUTTON_SIZE)
                     for x, y in (BEGIN, HIGH_SCORES, EXIT, MINIMIZE, ABOUT)] if main else []

        edge = self.compositor.DARK_EDGE

        def fits(box):
            # A dark edge may be missing on any side.
            near = [abs(b - s) <= 2 * edge for b, s in zip(box[2:], size)]
            if at is not None:
                near += [abs(b - a) <= edge for b, a in zip(box[:2], at)]
            return all(near)

        box = poll(lambda: changed_box(self.compositor.screenshot(), before, self.SCALE,
                                       unchanged),
                   lambda box: box is not None and fits(box), what, timeout=30)
        return box[:2]

    def point(self, window, at):
        return window[0] + at[0], window[1] + at[1]

    def click(self, window, at):
        self.compositor.click(*self.point(window, at))
        self.compositor.move(*self.compositor.PARK)  # no button left under the pointer

    def key(self, name):
        self.compositor.key(name, self.NATIVE)

    def shot_of_main(self):
        """The screen with the main window alone on it."""
        return still(self.compositor)

    def check_fallback(self, cases):
        check_fallback(self, cases, lambda: poll(
            lambda: changed_box(self.compositor.screenshot(), self.desktop, self.SCALE),
            lambda box: box is None, "the desktop bare again"))

    def assert_centred(self, place, size):
        # The screenshot may miss a dark edge that the desktop hides.
        for seen, centred in zip(place, ((SCREEN[0] - size[0]) // 2, (SCREEN[1] - size[1]) // 2)):
            self.assertLessEqual(abs(seen - centred), self.compositor.DARK_EDGE, place)

    def test_starts_where_it_belongs_and_its_windows_follow_a_drag(self):
        main = self.start_game()
        # Where the compositor lets it, the game places its windows itself: centred.
        if self.DESIGN_PLACES and not self.NATIVE:
            self.assert_centred(main, MAIN_SIZE)
        start = self.point(main, BACKGROUND)
        self.compositor.drag(start, (start[0] + 60, start[1] + 40))
        main = self.wait_for(self.desktop, MAIN_SIZE, "the main window dragged by (60, 40)",
                             at=(main[0] + 60, main[1] + 40))
        alone = self.shot_of_main()
        self.click(main, button_centre(ABOUT))
        about = self.wait_for(alone, ABOUT_SIZE, "the About window", main=main)
        if self.DESIGN_PLACES and not self.NATIVE:
            self.assert_centred(about, ABOUT_SIZE)
        start = self.point(about, BACKGROUND)
        self.compositor.drag(start, (start[0] + 60, start[1] + 40))
        self.wait_for(alone, ABOUT_SIZE, "the About window dragged by (60, 40)",
                      at=(about[0] + 60, about[1] + 40), main=main)
        self.key("Return")  # About's OK
        self.wait_for(self.desktop, MAIN_SIZE, "About closed by Enter")

    def test_the_open_window_stays_in_front_with_the_keyboard(self):
        main = self.start_game()
        alone = self.shot_of_main()
        for size, opener in ((HIGH_SCORES_SIZE, HIGH_SCORES), (ABOUT_SIZE, ABOUT)):
            self.click(main, button_centre(opener))
            window = self.wait_for(alone, size, f"the {size} window open", main=main)
            self.click(main, BACKGROUND)  # outside the open window
            time.sleep(0.5)  # as long as the game gives a compositor to bring it back
            self.wait_for(alone, size, f"the {size} window in front after a click on the main "
                                       "window", at=window, main=main)
            self.key("Escape")
            self.wait_for(self.desktop, MAIN_SIZE, f"Escape closing the {size} window")

    def test_ok_takes_the_first_click(self):
        main = self.start_game()
        alone = self.shot_of_main()
        for _ in range(2):
            self.click(main, button_centre(HIGH_SCORES))
            scores = self.wait_for(alone, HIGH_SCORES_SIZE, "the high-score list", main=main)
            self.click(scores, button_centre(SCORES_OK))
            self.wait_for(self.desktop, MAIN_SIZE, "one click on OK closing the list")

    def test_a_game_is_played_with_the_keyboard(self):
        main = self.start_game()
        self.shot_of_main()
        # A cell's plain colours, as crop() weighs them; a card is none of them, while the
        # cell the cursor is on is lit as soon as a key is pressed.
        plain = [(r * 3 + g * 6 + b) // 10 for r, g, b in (NORMAL, ACCEPTS, REFUSES)]

        def grey(cell):
            x, y = self.point(main, cell_centre(cell))
            return crop(self.compositor.screenshot(), int(x * self.SCALE), int(y * self.SCALE),
                        1, 1)[0][0]
        self.key("Return")  # Begin has the focus
        poll(lambda: grey(0), lambda g: g not in plain, "the first card in the top-left cell")
        self.key("space")  # the cursor starts on the cell right of it
        poll(lambda: grey(1), lambda g: g not in plain,
             "the second card placed beside it by the keyboard")

    def test_the_picture_is_drawn_at_the_output_scale(self):
        main = self.start_game()
        s = self.SCALE
        check_drawn_at_scale(self, s, self.NATIVE, lambda: crop(
            self.compositor.screenshot(), round((main[0] + LEGEND[0]) * s),
            round((main[1] + LEGEND[1]) * s), round(LEGEND[2] * s), round(LEGEND[3] * s)))


class MutterChecks(Checks):
    COMPOSITOR = Mutter


class Mutter1XWayland(MutterChecks, unittest.TestCase):
    SCALE = 1

    def test_a_platform_that_cannot_connect_falls_back_to_the_other(self):
        # GNOME's choice, XWayland first, with no X server there: natively instead, where
        # mutter places the window; then no compositor there: XWayland, centred by the game.
        self.check_fallback((({"DISPLAY": ":77"}, True),
                             ({"WAYLAND_DISPLAY": "wayland-77"}, False)))


class Mutter1Native(MutterChecks, unittest.TestCase):
    SCALE = 1
    NATIVE = True
    PLATFORM = "wayland"


class Mutter2XWayland(MutterChecks, unittest.TestCase):
    SCALE = 2


class Mutter2Native(MutterChecks, unittest.TestCase):
    SCALE = 2
    NATIVE = True
    PLATFORM = "wayland"


class FractionalMutter(Mutter):
    """GNOME with fractional scaling on: mutter draws X programs at 1x and stretches them."""
    FEATURES = "['scale-monitor-framebuffer']"
    FRACTIONAL = True


class Mutter2Fractional(Checks, unittest.TestCase):
    COMPOSITOR = FractionalMutter
    SCALE = 2
    NATIVE = True  # the game's own choice here, for a picture drawn at 2x


# Named to run after the 1x pictures are taken. Qt 6.4 draws at 2 here and mutter 43 shrinks
# the picture; Qt 6.8 and mutter 48 draw at 1.5 itself.
class MutterFractional15(Mutter2Fractional):
    SCALE = 1.5



def main():
    global GAME
    args = arguments("mutter")
    GAME = os.path.abspath(args.game)
    return run_tests(sys.modules[__name__], args.patterns)


if __name__ == "__main__":
    sys.exit(main())
