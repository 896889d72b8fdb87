#!/usr/bin/env python3
"""Draws the installer's header picture and the uninstaller's icon (run by
hand; the outputs are committed beside this script). The shapes, colours
and file writers are the toolbar pictures' (../app/draw.py), so the set
looks as one.

header.bmp (100 x 60, white is transparent): the program's icon, large,
beside a green arrow going down into a tray: the program being installed.
uninstall.ico (16, 32, 48): the program's icon with a red minus badge."""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "app"))
import draw as art  # noqa: E402

WHITE = 0xFFFFFF


class Picture(art.Canvas):
    """A canvas of any width and height."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.size = max(width, height)
        self.px = [[(0.0, 0.0, 0.0, 0.0) for _ in range(width)] for _ in range(height)]

    def shape(self, inside, colour):
        for py in range(self.height):
            for px in range(self.width):
                hits = 0
                for sy in range(art.SS):
                    for sx in range(art.SS):
                        if inside(px + (sx + 0.5) / art.SS, py + (sy + 0.5) / art.SS):
                            hits += 1
                if hits:
                    self.over(px, py, colour, hits / (art.SS * art.SS))


def moved(parts, dx, dy):
    """The parts drawn dx, dy further right and down."""
    return [((lambda f: lambda x, y: f(x - dx, y - dy))(inside), colour) for inside, colour in parts]


def install_arrow(x0, y0):
    """A tray with a green arrow coming down into it, 30 x 40 from x0, y0."""
    green = art.GREEN
    return [(art.rect(x0 + 11, y0 + 2, x0 + 19, y0 + 18), green),
            (art.polygon([(x0 + 4, y0 + 17), (x0 + 26, y0 + 17), (x0 + 15, y0 + 29)]), green),
            (art.rect(x0 + 1, y0 + 26, x0 + 4, y0 + 38), art.INK),
            (art.rect(x0 + 26, y0 + 26, x0 + 29, y0 + 38), art.INK),
            (art.rect(x0 + 1, y0 + 35, x0 + 29, y0 + 38), art.INK)]


def header():
    p = Picture(100, 60)
    for inside, colour in moved(art.app_icon(48), 10, 6) + install_arrow(64, 10):
        p.shape(inside, colour)
    return p.px


def uninstall_icon(size):
    s = size / 16.0
    badge = [(art.disc(11.5 * s, 11.5 * s, 4.3 * s), (1, 1, 1)),
             (art.disc(11.5 * s, 11.5 * s, 3.6 * s), art.RED),
             (art.rect(9.3 * s, 10.9 * s, 13.7 * s, 12.1 * s), (1, 1, 1))]
    return art.app_icon(size) + badge


def main():
    art.write_bmp(os.path.join(HERE, "header.bmp"), header(), WHITE)
    art.write_ico(os.path.join(HERE, "uninstall.ico"), [16, 32, 48], uninstall_icon)


if __name__ == "__main__":
    main()
