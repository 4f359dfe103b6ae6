# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""A VNC client that only sends input: pointer moves and buttons, key presses (RFB 3.8, no
authentication). It never asks for pictures, so the server has nothing to send back."""

import socket
import struct
import time

BUTTON_LEFT = 1

# X keysyms of the keys the tests press.
KEYS = {"Escape": 0xFF1B, "Return": 0xFF0D, "Tab": 0xFF09, "space": 0x20, "Right": 0xFF53,
        "Left": 0xFF51, "Up": 0xFF52, "Down": 0xFF54}


class Client:

    def __init__(self, host, port, timeout=10.0):
        deadline = time.monotonic() + timeout
        while True:
            try:
                self.sock = socket.create_connection((host, port), timeout=timeout)
                break
            except OSError:
                if time.monotonic() > deadline:
                    raise
                time.sleep(0.05)
        self._handshake()
        self.buttons = 0
        self.at = (0, 0)

    def _read(self, n):
        data = b""
        while len(data) < n:
            chunk = self.sock.recv(n - len(data))
            if not chunk:
                raise ConnectionError("the VNC server closed the connection")
            data += chunk
        return data

    def _handshake(self):
        self._read(12)  # "RFB 003.008\n"
        self.sock.sendall(b"RFB 003.008\n")
        count = self._read(1)[0]
        types = self._read(count)
        if 1 not in types:
            raise ConnectionError(f"the VNC server wants authentication: {list(types)}")
        self.sock.sendall(b"\x01")
        if struct.unpack(">I", self._read(4))[0] != 0:
            raise ConnectionError("the VNC server refused the connection")
        self.sock.sendall(b"\x01")  # shared
        self.width, self.height = struct.unpack(">HH", self._read(4))
        self._read(16)
        self._read(struct.unpack(">I", self._read(4))[0])

    def close(self):
        self.sock.close()

    def _pointer(self):
        self.sock.sendall(struct.pack(">BBHH", 5, self.buttons, *self.at))

    def move(self, x, y):
        """Moves the pointer to (x, y) in the output's device pixels."""
        self.at = (int(x), int(y))
        self._pointer()

    def press(self):
        self.buttons |= BUTTON_LEFT
        self._pointer()

    def release(self):
        self.buttons &= ~BUTTON_LEFT
        self._pointer()

    SETTLE = 0.3

    def approach(self, x, y):
        """Moves the pointer onto (x, y) the way a hand does, in more than one step, and
        rests there: under XWayland on sway a press after a pointer that jumped into a new
        window in one step never reaches the program (the X server sends a LeaveNotify)."""
        self.move(x - 2, y - 2)
        time.sleep(0.1)
        self.move(x, y)
        time.sleep(self.SETTLE)

    def click(self, x, y):
        self.approach(x, y)
        self.press()
        time.sleep(0.05)
        self.release()

    def drag(self, start, end, steps=8):
        self.approach(*start)
        self.press()
        # Under Wayland the compositor moves the window from the moment the program has
        # asked it to, after the press; a hand too waits a moment before it moves.
        time.sleep(self.SETTLE)
        for i in range(1, steps + 1):
            time.sleep(0.03)
            self.move(start[0] + (end[0] - start[0]) * i / steps,
                      start[1] + (end[1] - start[1]) * i / steps)
        time.sleep(0.1)
        self.release()

    def key(self, name):
        sym = KEYS.get(name, ord(name[0]) if len(name) == 1 else None)
        for down in (1, 0):
            self.sock.sendall(struct.pack(">BBHI", 4, down, 0, sym))
            time.sleep(0.02)
