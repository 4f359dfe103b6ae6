# SPDX-FileCopyrightText: 2026 Mossgrovity
# SPDX-License-Identifier: GPL-3.0-or-later
"""The few X11 requests the end-to-end tests need that no installed tool makes without a
window manager: reading screen pixels, asking a window to close (WM_DELETE_WINDOW), the window
tree and the input focus, and a plain window of the tests' own that records the keys it gets.

Speaks the core protocol over the display's local socket, so it needs nothing beyond the
standard library. Little-endian throughout; no authorisation (the tests' Xvfb has none).
"""

import select
import socket
import struct
import time

OP_CREATE_WINDOW = 1
OP_CHANGE_WINDOW_ATTRIBUTES = 2
OP_MAP_WINDOW = 8
OP_QUERY_TREE = 15
OP_INTERN_ATOM = 16
OP_CHANGE_PROPERTY = 18
OP_GET_PROPERTY = 20
OP_SEND_EVENT = 25
OP_GET_INPUT_FOCUS = 43
OP_GET_IMAGE = 73
OP_GET_KEYBOARD_MAPPING = 101

Z_PIXMAP = 2
CW_BACK_PIXEL = 0x2
CW_EVENT_MASK = 0x800
KEY_PRESS_MASK = 0x1
STRUCTURE_NOTIFY_MASK = 0x20000
SUBSTRUCTURE_NOTIFY_MASK = 0x80000

KEY_PRESS = 2
CONFIGURE_NOTIFY = 22
CLIENT_MESSAGE = 33


class XError(Exception):
    pass


def _pad(n):
    return (4 - n % 4) % 4


class Connection:
    """One client connection to display number `display` on this machine."""

    def __init__(self, display, timeout=10.0):
        self._sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self._sock.settimeout(timeout)
        self._sock.connect(f"/tmp/.X11-unix/X{display}")
        self._sequence = 0
        self._events = []
        self._setup()

    def close(self):
        self._sock.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def _read(self, n):
        data = bytearray()
        while len(data) < n:
            chunk = self._sock.recv(n - len(data))
            if not chunk:
                raise XError("the X server closed the connection")
            data += chunk
        return bytes(data)

    def _setup(self):
        self._sock.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0))
        status, reason_len, _major, _minor, length = struct.unpack("<BBHHH", self._read(8))
        body = self._read(length * 4)
        if status != 1:
            raise XError("connection refused: " + body[:reason_len].decode(errors="replace"))
        self._id_base, _id_mask = struct.unpack_from("<II", body, 4)
        self._next_id = 1
        vendor_len, = struct.unpack_from("<H", body, 16)
        self._min_keycode, self._max_keycode = struct.unpack_from("<BB", body, 26)
        n_screens, n_formats, image_byte_order = struct.unpack_from("<BBB", body, 20)
        if image_byte_order != 0:
            raise XError("only LSB-first images are handled")
        at = 32 + vendor_len + _pad(vendor_len)
        self._bits_per_pixel = {}
        for _ in range(n_formats):
            depth, bpp, _scanline_pad = struct.unpack_from("<BBB", body, at)
            self._bits_per_pixel[depth] = bpp
            at += 8
        # The first screen only.
        (self.root, _cmap, _white, _black, _masks, self.width, self.height, _wmm, _hmm, _minmaps,
         _maxmaps, root_visual, _bs, _su, self.root_depth, n_depths) = struct.unpack_from(
            "<IIIIIHHHHHHIBBBB", body, at)
        at += 40
        self._masks = None
        for _ in range(n_depths):
            _depth, n_visuals = struct.unpack_from("<BxH", body, at)
            at += 8
            for _ in range(n_visuals):
                visual, _cls, _bits, _entries, red, green, blue = struct.unpack_from(
                    "<IBBHIII", body, at)
                if visual == root_visual:
                    self._masks = (red, green, blue)
                at += 24
        if self._masks is None or self._bits_per_pixel.get(self.root_depth) != 32:
            raise XError("only 24-bit true colour screens with 32-bit pixels are handled")

    def _request(self, data):
        self._sock.sendall(data + b"\0" * _pad(len(data)))
        self._sequence = (self._sequence + 1) & 0xFFFF
        return self._sequence

    def _reply(self, sequence):
        """The reply to request `sequence`; events met on the way are kept for next_event().
        An X error raises."""
        while True:
            head = self._read(32)
            kind = head[0]
            seq, = struct.unpack_from("<H", head, 2)
            if kind == 0:
                code, bad = head[1], struct.unpack_from("<I", head, 4)[0]
                raise XError(f"X error {code} (resource 0x{bad:x}) for request {seq}")
            if kind == 1:
                extra, = struct.unpack_from("<I", head, 4)
                body = self._read(extra * 4)
                if seq == sequence:
                    return head + body
            else:
                self._events.append(head)

    def watch_root(self):
        """From now on the root's children's changes (stacking, mapping) and the messages sent
        to the root for a window manager arrive as events on this connection."""
        self._request(struct.pack("<BxHIII", OP_CHANGE_WINDOW_ATTRIBUTES, 4, self.root,
                                  CW_EVENT_MASK, STRUCTURE_NOTIFY_MASK | SUBSTRUCTURE_NOTIFY_MASK))
        self.sync()

    def next_event(self, timeout):
        """The next event as (code, raw 32 bytes), or None when none comes within `timeout`
        seconds. The code has the sent-by-a-client bit cleared."""
        if not self._events:
            deadline = time.monotonic() + timeout
            while True:
                left = deadline - time.monotonic()
                if left <= 0 or not select.select([self._sock], [], [], left)[0]:
                    return None
                head = self._read(32)
                if head[0] in (0, 1):
                    raise XError("a reply or error came with no request waiting for it")
                self._events.append(head)
                break
        head = self._events.pop(0)
        return head[0] & 0x7F, head

    def sync(self):
        """Waits until the server has handled every request sent so far."""
        self._reply(self._request(struct.pack("<BxH", OP_GET_INPUT_FOCUS, 1)))

    def intern_atom(self, name):
        raw = name.encode()
        length = 2 + (len(raw) + _pad(len(raw))) // 4
        reply = self._reply(self._request(
            struct.pack("<BBHHxx", OP_INTERN_ATOM, 0, length, len(raw)) + raw))
        return struct.unpack_from("<I", reply, 8)[0]

    def region(self, x, y, width, height, window=None):
        """The screen's pixels in that rectangle as the server sends them, 4 bytes a pixel,
        row after row: to compare two moments of the same place. With `window`, that window's
        own pixels, in its coordinates (a rootless X server has no picture of the screen)."""
        reply = self._reply(self._request(struct.pack(
            "<BBHIhhHHI", OP_GET_IMAGE, Z_PIXMAP, 5, window or self.root, x, y, width, height,
            0xFFFFFFFF)))
        return reply[32:32 + width * height * 4]

    def pixels(self, x, y, width, height, window=None):
        """The screen's (or the window's) rows from (x, y), each a list of (red, green, blue)
        tuples."""
        data = self.region(x, y, width, height, window)
        shifts = [(mask, (mask & -mask).bit_length() - 1) for mask in self._masks]
        rows = []
        for row in range(height):
            values = struct.unpack_from(f"<{width}I", data, row * width * 4)
            rows.append([tuple((v & mask) >> shift for mask, shift in shifts) for v in values])
        return rows

    def pixel(self, x, y):
        return self.pixels(x, y, 1, 1)[0][0]

    def request_close(self, window):
        """Sends the window a WM_DELETE_WINDOW message, as a window manager does when the user
        closes it; the message goes to the client that created the window."""
        protocols = self.intern_atom("WM_PROTOCOLS")
        delete = self.intern_atom("WM_DELETE_WINDOW")
        event = struct.pack("<BBHII5I", CLIENT_MESSAGE, 32, 0, window, protocols, delete, 0, 0,
                            0, 0)
        self._request(struct.pack("<BBHII", OP_SEND_EVENT, 0, 11, window, 0) + event)
        self.sync()

    # The window tree, properties and focus -------------------------------------------------

    def query_tree(self, window):
        """(parent, children bottom to top) of a window."""
        reply = self._reply(self._request(struct.pack("<BxHI", OP_QUERY_TREE, 2, window)))
        parent, count = struct.unpack_from("<IH", reply, 12)
        return parent, list(struct.unpack_from(f"<{count}I", reply, 32))

    def top_level(self, window):
        """The root's child that holds the window: its window manager's frame, or the window
        itself when nothing framed it."""
        while True:
            parent, _ = self.query_tree(window)
            if parent == self.root:
                return window
            window = parent

    def get_property(self, window, name):
        """The 32-bit values of a window's property (empty when it is not set)."""
        reply = self._reply(self._request(struct.pack(
            "<BBHIIIII", OP_GET_PROPERTY, 0, 6, window, self.intern_atom(name), 0, 0, 1024)))
        fmt, = struct.unpack_from("<B", reply, 1)
        count, = struct.unpack_from("<I", reply, 16)
        if fmt != 32:
            return []
        return list(struct.unpack_from(f"<{count}I", reply, 32))

    def input_focus(self):
        """The window that has the keyboard focus (0 none, 1 the pointer's window)."""
        reply = self._reply(self._request(struct.pack("<BxH", OP_GET_INPUT_FOCUS, 1)))
        return struct.unpack_from("<I", reply, 8)[0]

    def keysyms(self):
        """The keyboard map: keycode to its first keysym (a letter's keysym is its code)."""
        count = self._max_keycode - self._min_keycode + 1
        reply = self._reply(self._request(struct.pack(
            "<BxHBBxx", OP_GET_KEYBOARD_MAPPING, 2, self._min_keycode, count)))
        per = reply[1]
        values = struct.unpack_from(f"<{count * per}I", reply, 32)
        return {self._min_keycode + i: values[i * per] for i in range(count)}

    # A window of the tests' own --------------------------------------------------------------

    def _set_property(self, window, prop, prop_type, fmt, data):
        units = len(data) * 8 // fmt
        self._request(struct.pack("<BBHIIIBxxxI", OP_CHANGE_PROPERTY, 0,
                                  6 + (len(data) + _pad(len(data))) // 4, window, prop,
                                  prop_type, fmt, units) + data + b"\0" * _pad(len(data)))

    def create_window(self, x, y, width, height, title):
        """Maps a plain white top-level window of this connection's own, placed where asked,
        that takes the keyboard focus when given it; its key presses arrive as events here."""
        window = self._id_base | self._next_id
        self._next_id += 1
        self._request(struct.pack("<BBHIIhhHHHHIIII", OP_CREATE_WINDOW, 0, 10, window,
                                  self.root, x, y, width, height, 0, 1, 0,
                                  CW_BACK_PIXEL | CW_EVENT_MASK, 0xFFFFFF, KEY_PRESS_MASK))
        atom_string, atom_wm_name, atom_wm_hints, atom_wm_normal_hints = 31, 39, 35, 40
        self._set_property(window, atom_wm_name, atom_string, 8, title.encode())
        self._set_property(window, 67, atom_string, 8, b"quintagrid-e2e\0Quintagrid-e2e\0")
        # Input hint set: the window takes the focus it is given.
        self._set_property(window, atom_wm_hints, atom_wm_hints, 32,
                           struct.pack("<9I", 1, 1, 0, 0, 0, 0, 0, 0, 0))
        # User-given position and size, which window managers keep.
        self._set_property(window, atom_wm_normal_hints, 41, 32,
                           struct.pack("<18I", 3, x, y, width, height, *[0] * 13))
        self._request(struct.pack("<BxHI", OP_MAP_WINDOW, 2, window))
        self.sync()
        return window

    def typed(self, keysyms, count, timeout):
        """The characters of the next `count` key presses that arrive within `timeout`
        seconds (fewer when fewer come)."""
        text = ""
        deadline = time.monotonic() + timeout
        while len(text) < count:
            event = self.next_event(max(0.0, deadline - time.monotonic()))
            if event is None:
                break
            code, raw = event
            if code == KEY_PRESS:
                text += chr(keysyms.get(raw[1], 0x3F) & 0xFF)
        return text
