#!/usr/bin/env python3
"""Draws the program's toolbar pictures and its icon (run by hand; the
outputs are committed beside this script).

Every picture is drawn at 16 x 16 from simple shapes with 4 x 4 supersampling.
Toolbar images are strips of three columns: normal, hot (brighter) and
disabled (grey). Bitmaps are 24-bit with a key colour for the transparent
pixels; PNG pictures keep their alpha."""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SS = 4  # supersampling per axis


class Canvas:
    def __init__(self, size=16):
        self.size = size
        self.px = [[(0.0, 0.0, 0.0, 0.0) for _ in range(size)] for _ in range(size)]

    def shape(self, inside, colour):
        """Paints colour (r, g, b) over every pixel by the share of its
        subsamples for which inside(x, y) holds (pixel units)."""
        n = self.size
        for py in range(n):
            for px in range(n):
                hits = 0
                for sy in range(SS):
                    for sx in range(SS):
                        if inside(px + (sx + 0.5) / SS, py + (sy + 0.5) / SS):
                            hits += 1
                if hits:
                    self.over(px, py, colour, hits / (SS * SS))

    def over(self, x, y, colour, a):
        r0, g0, b0, a0 = self.px[y][x]
        out = a + a0 * (1 - a)
        if out <= 0:
            return
        mix = [(c * a + c0 * a0 * (1 - a)) / out for c, c0 in zip(colour, (r0, g0, b0))]
        self.px[y][x] = (mix[0], mix[1], mix[2], out)


# ---- shapes (pixel units, origin top left) ----------------------------------

def polygon(points):
    def inside(x, y):
        c = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                c = not c
            j = i
        return c
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r, w):
    return lambda x, y: (r - w) ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def segment(x0, y0, x1, y1, w):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        return (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= (w / 2) ** 2
    return inside


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


# ---- colours -----------------------------------------------------------------

def hot(c):
    return tuple(min(1.0, v * 0.75 + 0.3) for v in c)


def grey(c):
    v = 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]
    v = 0.55 + v * 0.3
    return (v, v, v)


def rgb(h):
    return ((h >> 16) / 255.0, ((h >> 8) & 255) / 255.0, (h & 255) / 255.0)


INK = rgb(0x20262E)
GREEN = rgb(0x1E9E3C)
RED = rgb(0xC62828)
BLUE = rgb(0x1F5FBF)
GOLD = rgb(0xE8B43A)
GOLD_DARK = rgb(0xA7791A)
GLASS = rgb(0xD8EAF8)


# ---- pictures: each a list of (shape, colour) --------------------------------

def play():
    return [(polygon([(4, 2.5), (4, 13.5), (13.5, 8)]), GREEN)]


def stop():
    return [(rounded(3, 3, 13, 13, 1.5), RED)]


def play_original():
    # A play triangle with a "1" before it: at the recording's own speed.
    return [(rect(2, 4, 3.6, 13), BLUE), (polygon([(0.8, 5.5), (2, 4), (2.6, 5.6)]), BLUE),
            (polygon([(6, 3), (6, 13), (14.5, 8)]), GREEN)]


def to_fragment_begin():
    return [(rect(3, 3, 5, 13), INK), (polygon([(13, 3), (13, 13), (5.5, 8)]), GREEN)]


def close_doc():
    return [(segment(4, 4, 12, 12, 2.2), INK), (segment(12, 4, 4, 12, 2.2), INK)]


def magnifier(extra):
    return [(disc(6.5, 6.5, 5), GLASS), (ring(6.5, 6.5, 5.2, 1.6), INK),
            (segment(10.2, 10.2, 14.5, 14.5, 2.6), INK)] + extra


def zoom_in():
    return magnifier([(rect(4, 5.8, 9, 7.2), BLUE), (rect(5.8, 4, 7.2, 9), BLUE)])


def zoom_out():
    return magnifier([(rect(4, 5.8, 9, 7.2), BLUE)])


def zoom_whole():
    # Arrows out to both ends of a line: the whole file.
    return [(rect(1, 2, 2.5, 14), INK), (rect(13.5, 2, 15, 14), INK),
            (rect(4, 7.3, 12, 8.7), BLUE),
            (polygon([(3, 8), (6.5, 4.5), (6.5, 11.5)]), BLUE),
            (polygon([(13, 8), (9.5, 4.5), (9.5, 11.5)]), BLUE)]


def zoom_selection():
    # Brackets round a marked stretch.
    return [(rect(5, 4, 11, 12), rgb(0x9CC3EE)),
            (rect(2, 3, 3.5, 13), INK), (rect(2, 3, 5, 4.4), INK), (rect(2, 11.6, 5, 13), INK),
            (rect(12.5, 3, 14, 13), INK), (rect(11, 3, 14, 4.4), INK), (rect(11, 11.6, 14, 13), INK)]


def open_folder():
    return [(polygon([(1, 3.5), (6, 3.5), (7.5, 5), (14, 5), (14, 13), (1, 13)]), GOLD_DARK),
            (polygon([(3, 7), (15.5, 7), (13.5, 13), (1, 13)]), GOLD)]


def remove():
    # A fragment bar crossed out.
    return [(rect(1, 6, 15, 10), rgb(0x8FB8E6)),
            (segment(4, 3.5, 12, 12.5, 2.2), RED), (segment(12, 3.5, 4, 12.5, 2.2), RED)]


def app_icon(size):
    s = size / 16.0
    wave = []
    for i, h in enumerate([2, 4, 7, 5, 3, 6, 8, 4, 2]):
        x = 3.2 + i * 1.2
        wave.append((rect(x * s, (8 - h / 2) * s, (x + 0.7) * s, (8 + h / 2) * s), (1, 1, 1)))
    return [(rounded(0.5 * s, 0.5 * s, 15.5 * s, 15.5 * s, 3 * s), BLUE)] + wave


# ---- files -------------------------------------------------------------------

def draw(parts, size=16, tint=None):
    c = Canvas(size)
    for inside, colour in parts:
        c.shape(inside, tint(colour) if tint else colour)
    return c


def strip(parts):
    """Normal, hot and disabled columns side by side (48 x 16)."""
    cols = [draw(parts), draw(parts, tint=hot), draw(parts, tint=grey)]
    rows = []
    for y in range(16):
        row = []
        for c in cols:
            row.extend(c.px[y])
        rows.append(row)
    return rows


def to8(v):
    return max(0, min(255, int(round(v * 255))))


def write_bmp(path, rows, key):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, a in row:
            if a < 0.5:
                line += bytes((key & 255, (key >> 8) & 255, key >> 16))
            else:
                kr, kg, kb = key >> 16, (key >> 8) & 255, key & 255
                # Edge pixels blend towards the key colour's own shade, so
                # that no fringe of another colour is left round the shape.
                rr = to8(r * a + kr / 255 * (1 - a))
                gg = to8(g * a + kg / 255 * (1 - a))
                bb = to8(b * a + kb / 255 * (1 - a))
                if (rr, gg, bb) == (kr, kg, kb):
                    bb ^= 1
                line += bytes((bb, gg, rr))
        line += b"\0" * (stride - len(line))
        data += line
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + 40 + len(data), 0, 0, 54) + header + data)


def png_bytes(rows):
    h, w = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for r, g, b, a in row:
            raw += bytes((to8(r), to8(g), to8(b), to8(a)))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def write_png(path, rows):
    with open(path, "wb") as f:
        f.write(png_bytes(rows))


def icon_dib(c):
    n = c.size
    pixels = bytearray()
    for row in reversed(c.px):
        for r, g, b, a in row:
            pixels += bytes((to8(b), to8(g), to8(r), to8(a)))
    mask_stride = ((n + 31) // 32) * 4
    mask = b"\0" * (mask_stride * n)
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + mask


def write_ico(path, sizes, shape=None):
    """An icon file of the given sizes; shape(size) gives the parts (the
    program's icon when none is given)."""
    shape = shape or app_icon
    images = [(s, icon_dib(draw(shape(s), size=s))) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, dib in images:
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(dib), offset)
        offset += len(dib)
    for _, dib in images:
        out += dib
    with open(path, "wb") as f:
        f.write(out)


def main():
    for name, parts in [("play", play()), ("stop", stop()), ("play_original", play_original()),
                        ("to_fragment_begin", to_fragment_begin())]:
        write_bmp(os.path.join(HERE, name + ".bmp"), strip(parts), 0xC0C0C0)
    write_bmp(os.path.join(HERE, "close_doc.bmp"), strip(close_doc()), 0xFFFFFF)
    for name, parts in [("zoom_in", zoom_in()), ("zoom_out", zoom_out()), ("zoom_whole", zoom_whole()),
                        ("zoom_selection", zoom_selection()), ("open", open_folder()), ("remove", remove())]:
        write_png(os.path.join(HERE, name + ".png"), strip(parts))
    write_ico(os.path.join(HERE, "ravelin.ico"), [16, 32, 48])


if __name__ == "__main__":
    main()
