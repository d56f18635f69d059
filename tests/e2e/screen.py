"""Screenshots of the virtual display and the few questions the checks ask of them:
which colour is at a place, how many pixels of a colour a region holds, and where a
colour's pixels lie."""

import functools
import re
import struct
import subprocess
import zlib


def parse_colour(argb):
    """0xAARRGGBB, as the program names its colours, to an (r, g, b) triple."""
    return ((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF)


def read_netpbm(data):
    """Width, height, channels and samples of a binary PPM (P6) or PGM (P5) image."""
    fields = []
    at = 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    magic, width, height, maximum = fields
    if magic not in (b"P5", b"P6") or maximum != b"255":
        raise ValueError("expected an 8-bit binary PPM or PGM image")
    channels = 3 if magic == b"P6" else 1
    return int(width), int(height), channels, data[at + 1:]


def write_png(path, width, height, samples):
    """Saves 8-bit RGB samples as a PNG file."""
    stride = width * 3
    rows = b"".join(b"\0" + samples[y * stride:(y + 1) * stride] for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(rows, 3)) + chunk(b"IEND", b""))


class Screenshot:
    """The whole screen as RGB samples. Places are given relative to `origin`, the
    screen position of the program's client area, so checks read like the layout."""

    def __init__(self, path, width, height, samples, origin=(0, 0)):
        self.path = path
        self.width = width
        self.height = height
        self.samples = samples
        self.origin = origin

    @classmethod
    def grab(cls, env, path, origin=(0, 0)):
        """The display's screen now, also saved to `path` as a PNG."""
        ppm = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], env=env,
                             check=True, capture_output=True, timeout=30).stdout
        width, height, _, samples = read_netpbm(ppm)
        write_png(path, width, height, samples)
        return cls(path, width, height, samples, origin)

    @classmethod
    def load(cls, path, origin=(0, 0)):
        ppm = subprocess.run(["convert", str(path), "-depth", "8", "ppm:-"],
                             check=True, capture_output=True).stdout
        width, height, _, samples = read_netpbm(ppm)
        return cls(path, width, height, samples, origin)

    def pixel(self, x, y):
        sx, sy = x + self.origin[0], y + self.origin[1]
        if not (0 <= sx < self.width and 0 <= sy < self.height):
            return None
        at = (sy * self.width + sx) * 3
        return tuple(self.samples[at:at + 3])

    def _clipped(self, left, top, right, bottom):
        """The box on the screen, cut to the screen's edges."""
        ox, oy = self.origin
        return (max(left + ox, 0), max(top + oy, 0), min(right + ox, self.width),
                min(bottom + oy, self.height))

    def _rows(self, box):
        """(y, x of the first pixel, samples) for each row of the box."""
        left, top, right, bottom = self._clipped(*box)
        for sy in range(top, bottom):
            if left < right:
                at = (sy * self.width + left) * 3
                yield sy - self.origin[1], left - self.origin[0], \
                    self.samples[at:at + (right - left) * 3]

    def region(self, left, top, right, bottom):
        """Every (x, y, pixel) with left <= x < right and top <= y < bottom."""
        for y, x0, row in self._rows((left, top, right, bottom)):
            for i in range(0, len(row), 3):
                yield x0 + i // 3, y, (row[i], row[i + 1], row[i + 2])

    def matches(self, colour, box, tolerance=0):
        """(x, y) of every pixel of the box within `tolerance` of the colour in each
        channel. The search runs in the regular-expression engine, which is fast
        enough to poll whole panels."""
        pattern = colour_pattern(colour, tolerance)
        for y, x0, row in self._rows(box):
            for found in pattern.finditer(row):
                if found.start() % 3 == 0:
                    yield x0 + found.start() // 3, y

    def count(self, colour, box, tolerance=0):
        return sum(1 for _ in self.matches(colour, box, tolerance))

    def bounds(self, colour, box, tolerance=0):
        """The smallest (left, top, right, bottom) holding every pixel of the colour in
        the box, right and bottom exclusive; None when there is none."""
        points = list(self.matches(colour, box, tolerance))
        if not points:
            return None
        xs = [x for x, _ in points]
        ys = [y for _, y in points]
        return min(xs), min(ys), max(xs) + 1, max(ys) + 1

    def differing_pixels(self, other, box):
        """How many pixels of the box differ from the same place in `other`."""
        differing = 0
        for (_, _, row), (_, _, other_row) in zip(self._rows(box), other._rows(box)):
            if row != other_row:
                differing += sum(1 for i in range(0, len(row), 3)
                                 if row[i:i + 3] != other_row[i:i + 3])
        return differing


@functools.lru_cache(maxsize=None)
def colour_pattern(colour, tolerance):
    """A byte pattern for one pixel near the colour; a look-ahead, so that matches may
    overlap and the caller can keep those that start on a pixel."""
    def channel(value):
        low, high = max(value - tolerance, 0), min(value + tolerance, 255)
        return b"[" + re.escape(bytes([low])) + b"-" + re.escape(bytes([high])) + b"]"

    return re.compile(b"(?=" + b"".join(channel(v) for v in colour) + b")", re.DOTALL)
