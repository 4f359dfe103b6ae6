# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""A small VNC client (RFB 3.8): pointer moves and buttons, key presses and, when asked, the
framebuffer. It logs in without authentication or, given a user, with VeNCrypt's user name and
password over TLS; the server's certificate is not checked (a test's own server on loopback)."""

import socket
import ssl
import struct
import time

BUTTON_LEFT = 1
VENCRYPT = 19
TLS_PLAIN, X509_PLAIN = 259, 262  # VeNCrypt subtypes

# X keysyms of the keys the tests press.
KEYS = {"Escape": 0xFF1B, "Return": 0xFF0D, "Tab": 0xFF09, "space": 0x20, "Right": 0xFF53,
        "Left": 0xFF51, "Up": 0xFF52, "Down": 0xFF54}


class Client:

    def __init__(self, host, port, timeout=10.0, user=None, password=""):
        deadline = time.monotonic() + timeout
        while True:
            try:
                self.sock = socket.create_connection((host, port), timeout=timeout)
                break
            except OSError:
                if time.monotonic() > deadline:
                    raise
                time.sleep(0.05)
        self._handshake(user, password)
        self.buttons = 0
        self.at = (0, 0)

    def _read(self, n):
        data = bytearray(n)
        view = memoryview(data)
        got = 0
        while got < n:
            count = self.sock.recv_into(view[got:], n - got)
            if not count:
                raise ConnectionError("the VNC server closed the connection")
            got += count
        return data

    def _handshake(self, user, password):
        self._read(12)  # "RFB 003.008\n"
        self.sock.sendall(b"RFB 003.008\n")
        count = self._read(1)[0]
        types = self._read(count)
        if user is not None and VENCRYPT in types:
            self.sock.sendall(bytes([VENCRYPT]))
            self._vencrypt_plain(user, password)
        elif 1 in types:
            self.sock.sendall(b"\x01")
        else:
            raise ConnectionError(f"the VNC server wants authentication: {list(types)}")
        if struct.unpack(">I", self._read(4))[0] != 0:
            raise ConnectionError("the VNC server refused the connection")
        self.sock.sendall(b"\x01")  # shared
        self.width, self.height = struct.unpack(">HH", self._read(4))
        self.format = self._read(16)
        self._read(struct.unpack(">I", self._read(4))[0])
        self.frame = None

    def _vencrypt_plain(self, user, password):
        """VeNCrypt 0.2: a TLS subtype with a user name and password, sent once TLS is up."""
        if self._read(2) != b"\0\2":
            raise ConnectionError("the VNC server speaks another VeNCrypt")
        self.sock.sendall(b"\0\2")
        if self._read(1) != b"\0":
            raise ConnectionError("the VNC server refused VeNCrypt 0.2")
        count = self._read(1)[0]
        subtypes = struct.unpack(f">{count}I", self._read(4 * count))
        chosen = next((t for t in (X509_PLAIN, TLS_PLAIN) if t in subtypes), None)
        if chosen is None:
            raise ConnectionError(f"the VNC server offers no TLS with a password: {subtypes}")
        self.sock.sendall(struct.pack(">I", chosen))
        if self._read(1) != b"\1":
            raise ConnectionError("the VNC server refused its own VeNCrypt subtype")
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_CLIENT)
        context.check_hostname = False
        context.verify_mode = ssl.CERT_NONE
        if chosen == TLS_PLAIN:  # anonymous Diffie-Hellman, no certificate
            context.set_ciphers("aNULL:@SECLEVEL=0")
        self.sock = context.wrap_socket(self.sock)
        name, word = user.encode(), password.encode()
        self.sock.sendall(struct.pack(">II", len(name), len(word)) + name + word)

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

    def screenshot(self):
        """The whole framebuffer as (width, height, bytes of RGB), taken from the server now."""
        if self.frame is None:
            # 32 bits a pixel, true colour, little-endian, red in the lowest byte; raw only.
            self.sock.sendall(struct.pack(">B3xBBBBHHHBBB3x", 0, 32, 24, 0, 1, 255, 255, 255,
                                          0, 8, 16))
            self.sock.sendall(struct.pack(">BxHi", 2, 1, 0))
            self.frame = bytearray(self.width * self.height * 4)
        self.sock.sendall(struct.pack(">BBHHHH", 3, 0, 0, 0, self.width, self.height))
        while True:
            kind = self._read(1)[0]
            if kind == 0:  # framebuffer update
                break
            if kind == 3:  # server cut text
                self._read(3)
                self._read(struct.unpack(">I", self._read(4))[0])
            elif kind != 2:  # not a bell either
                raise ConnectionError(f"unexpected VNC message {kind}")
        self._read(1)
        for _ in range(struct.unpack(">H", self._read(2))[0]):
            x, y, width, height, encoding = struct.unpack(">HHHHi", self._read(12))
            if encoding != 0:
                raise ConnectionError(f"the VNC server sent encoding {encoding}")
            data = self._read(width * height * 4)
            for row in range(height):
                start = ((y + row) * self.width + x) * 4
                self.frame[start:start + width * 4] = data[row * width * 4:(row + 1) * width * 4]
        rgb = bytearray(self.width * self.height * 3)
        for channel in range(3):
            rgb[channel::3] = self.frame[channel::4]
        return self.width, self.height, bytes(rgb)
