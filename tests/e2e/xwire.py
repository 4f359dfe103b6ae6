"""The few X11 requests the end-to-end tests need that no installed tool makes without a
window manager: reading screen pixels and asking a window to close (WM_DELETE_WINDOW).

Speaks the core protocol over the display's local socket, so it needs nothing beyond the
standard library. Little-endian throughout; no authorisation (the tests' Xvfb has none).
"""

import select
import socket
import struct
import time

OP_CHANGE_WINDOW_ATTRIBUTES = 2
OP_INTERN_ATOM = 16
OP_SEND_EVENT = 25
OP_GET_INPUT_FOCUS = 43
OP_GET_IMAGE = 73

Z_PIXMAP = 2
CW_EVENT_MASK = 0x800
STRUCTURE_NOTIFY_MASK = 0x20000
SUBSTRUCTURE_NOTIFY_MASK = 0x80000

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
        vendor_len, = struct.unpack_from("<H", body, 16)
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

    def region(self, x, y, width, height):
        """The screen's pixels in that rectangle as the server sends them, 4 bytes a pixel,
        row after row: to compare two moments of the same place."""
        reply = self._reply(self._request(struct.pack(
            "<BBHIhhHHI", OP_GET_IMAGE, Z_PIXMAP, 5, self.root, x, y, width, height,
            0xFFFFFFFF)))
        return reply[32:32 + width * height * 4]

    def pixels(self, x, y, width, height):
        """The screen's rows from (x, y), each a list of (red, green, blue) tuples."""
        data = self.region(x, y, width, height)
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
