#!/usr/bin/env python3
"""Draws the program's pictures and writes them next to this script.

Run it again after changing a drawing: python3 make_pictures.py
Only the standard library is used. Each picture is a list of shapes in pixel
units, drawn with 4 x 4 samples per pixel; the window icon is also written as
SVG from the same shapes.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# --- shapes: each is (kind, colour, parameters) -----------------------------


def rgb(hex_text, alpha=255):
    v = int(hex_text.lstrip("#"), 16)
    return ((v >> 16) & 255, (v >> 8) & 255, v & 255, alpha)


def polygon(colour, *points):
    return ("polygon", colour, points)


def rect(colour, x, y, w, h, radius=0.0):
    return ("rect", colour, (x, y, w, h, radius))


def circle(colour, cx, cy, r):
    return ("circle", colour, (cx, cy, r))


def line(colour, x1, y1, x2, y2, width):
    return ("line", colour, (x1, y1, x2, y2, width))


def arc(colour, cx, cy, r, width, start_deg, end_deg):
    """Stroke of a circle from start to end angle (degrees, counter-clockwise, y up)."""
    return ("arc", colour, (cx, cy, r, width, start_deg, end_deg))


def inside(shape, x, y):
    kind, _, p = shape
    if kind == "polygon":
        hit = False
        n = len(p)
        for i in range(n):
            x1, y1 = p[i]
            x2, y2 = p[(i + 1) % n]
            if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                hit = not hit
        return hit
    if kind == "rect":
        rx, ry, w, h, r = p
        if not (rx <= x <= rx + w and ry <= y <= ry + h):
            return False
        if r <= 0:
            return True
        cx = min(max(x, rx + r), rx + w - r)
        cy = min(max(y, ry + r), ry + h - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    if kind == "circle":
        cx, cy, r = p
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    if kind == "line":
        x1, y1, x2, y2, w = p
        dx, dy = x2 - x1, y2 - y1
        t = max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy)))
        return (x - x1 - t * dx) ** 2 + (y - y1 - t * dy) ** 2 <= (w / 2) ** 2
    if kind == "arc":
        cx, cy, r, w, a0, a1 = p
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > w / 2:
            return False
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        return (a - a0) % 360 <= (a1 - a0) % 360
    raise ValueError(kind)


def render(width, height, shapes, samples=4):
    """Returns rows of RGBA bytes; later shapes cover earlier ones."""
    rows = []
    step = 1.0 / samples
    for py in range(height):
        row = bytearray()
        for px in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    x = px + (sx + 0.5) * step
                    y = py + (sy + 0.5) * step
                    r = g = b = a = 0.0
                    for shape in shapes:
                        if inside(shape, x, y):
                            cr, cg, cb, ca = shape[1]
                            ca /= 255.0
                            r = cr * ca + r * (1 - ca)
                            g = cg * ca + g * (1 - ca)
                            b = cb * ca + b * (1 - ca)
                            a = ca + a * (1 - ca)
                    acc[0] += r
                    acc[1] += g
                    acc[2] += b
                    acc[3] += a
            n = samples * samples
            alpha = acc[3] / n
            if alpha > 0:
                colour = [round(min(255, c / n / alpha)) for c in acc[:3]]
            else:
                colour = [0, 0, 0]
            row += bytes(colour + [round(alpha * 255)])
        rows.append(bytes(row))
    return rows


def pixels(width, height, colour_of):
    """Pixel art: colour_of(x, y) gives an RGBA tuple or None for transparent."""
    rows = []
    for y in range(height):
        row = bytearray()
        for x in range(width):
            row += bytes(colour_of(x, y) or (0, 0, 0, 0))
        rows.append(bytes(row))
    return rows


def write_png(name, width, rows):
    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\x00" + row for row in rows)
    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, len(rows), 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(png)


def write_svg(name, width, height, shapes):
    def fill(c):
        return 'fill="#%02x%02x%02x"%s' % (
            c[0], c[1], c[2], "" if c[3] == 255 else ' fill-opacity="%.3f"' % (c[3] / 255))

    parts = []
    for kind, colour, p in shapes:
        if kind == "polygon":
            pts = " ".join("%g,%g" % xy for xy in p)
            parts.append('<polygon points="%s" %s/>' % (pts, fill(colour)))
        elif kind == "rect":
            x, y, w, h, r = p
            parts.append('<rect x="%g" y="%g" width="%g" height="%g" rx="%g" %s/>'
                         % (x, y, w, h, r, fill(colour)))
        elif kind == "circle":
            parts.append('<circle cx="%g" cy="%g" r="%g" %s/>' % (p + (fill(colour),)))
        elif kind == "line":
            x1, y1, x2, y2, w = p
            stroke = fill(colour).replace("fill", "stroke")
            parts.append('<line x1="%g" y1="%g" x2="%g" y2="%g" stroke-width="%g" '
                         'stroke-linecap="round" %s/>' % (x1, y1, x2, y2, w, stroke))
        else:
            raise ValueError(kind)
    svg = ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">\n  %s\n</svg>\n'
           % (width, height, width, height, "\n  ".join(parts)))
    with open(os.path.join(HERE, name), "w") as f:
        f.write(svg)


def scaled(shapes, factor):
    out = []
    for kind, colour, p in shapes:
        if kind == "polygon":
            out.append((kind, colour, tuple((x * factor, y * factor) for x, y in p)))
        elif kind == "arc":
            cx, cy, r, w, a0, a1 = p
            out.append((kind, colour, (cx * factor, cy * factor, r * factor, w * factor, a0, a1)))
        else:
            out.append((kind, colour, tuple(v * factor for v in p)))
    return out


# --- the pictures ---------------------------------------------------------------

GREY_DARK = rgb("#5f5f5f")
GREY = rgb("#9a9a9a")
GREY_LIGHT = rgb("#d4d4d4")
WHITE = rgb("#ffffff")
BLUE_DARK = rgb("#0b3d91")
BLUE = rgb("#2f6fdc")
RED_DARK = rgb("#8e0d0d")
RED = rgb("#dd2222")
YELLOW = rgb("#ffe35a")
YELLOW_DARK = rgb("#b8962a")
GREEN = rgb("#1f9a2e")


def arrow_left(edge, face):
    # 15 x 13: a head and a shaft, outlined by drawing the edge slightly larger.
    outer = [(0.5, 6.5), (7.5, 0.5), (7.5, 4.0), (14.5, 4.0), (14.5, 9.0), (7.5, 9.0), (7.5, 12.5)]
    inner = [(2.0, 6.5), (6.5, 2.6), (6.5, 5.0), (13.5, 5.0), (13.5, 8.0), (6.5, 8.0), (6.5, 10.4)]
    return [polygon(edge, *outer), polygon(face, *inner)]


def mirrored(shapes, width):
    return [(k, c, tuple((width - x, y) for x, y in p)) for k, c, p in shapes]


def stop_sign(edge, face):
    # 19 x 19: a round sign with a white cross.
    return [
        circle(edge, 9.5, 9.5, 9.2),
        circle(face, 9.5, 9.5, 8.0),
        line(WHITE, 6.0, 6.0, 13.0, 13.0, 2.4),
        line(WHITE, 13.0, 6.0, 6.0, 13.0, 2.4),
    ]


def refresh_page(edge, page, arrows):
    # 17 x 19: a page with a folded corner and two curved arrows going round.
    return [
        polygon(edge, (1.0, 0.5), (11.5, 0.5), (16.5, 5.5), (16.5, 18.5), (1.0, 18.5)),
        polygon(page, (2.0, 1.5), (11.0, 1.5), (15.5, 6.0), (15.5, 17.5), (2.0, 17.5)),
        polygon(edge, (11.0, 0.5), (11.0, 6.0), (16.5, 6.0)),
        arc(arrows, 8.7, 11.0, 4.2, 1.8, 20, 160),
        polygon(arrows, (2.0, 10.3), (7.2, 10.3), (4.6, 13.4)),
        arc(arrows, 8.7, 11.0, 4.2, 1.8, 200, 340),
        polygon(arrows, (15.4, 11.7), (10.2, 11.7), (12.8, 8.6)),
    ]


# 5 x 9 letters for the PAD badge, "#" for ink.
LETTERS = {
    "P": ["####.", "##.##", "##.##", "##.##", "####.", "##...", "##...", "##...", "##..."],
    "A": [".###.", "##.##", "##.##", "##.##", "#####", "##.##", "##.##", "##.##", "##.##"],
    "D": ["####.", "##.##", "##.##", "##.##", "##.##", "##.##", "##.##", "##.##", "####."],
}


def pad_badge():
    # 35 x 15: a blue badge with the letters PAD in white.
    base = render(35, 15, [rect(BLUE_DARK, 0, 0, 35, 15, 3.0), rect(BLUE, 1, 1, 33, 13, 2.2)])
    ink = {}
    left = 7
    for letter in "PAD":
        for y, row in enumerate(LETTERS[letter]):
            for x, cell in enumerate(row):
                if cell == "#":
                    ink[(left + x, 3 + y)] = WHITE
        left += 8

    def colour_of(x, y):
        if (x, y) in ink:
            return ink[(x, y)]
        return tuple(base[y][4 * x:4 * x + 4])

    return pixels(35, 15, colour_of)


def house():
    # 16 x 16: a red roof, light walls, a door and a window.
    return [
        rect(rgb("#7a4a1e"), 11.0, 1.5, 2.5, 5.0),  # chimney
        polygon(rgb("#8e1b12"), (0.2, 8.3), (8.0, 0.6), (15.8, 8.3), (13.9, 8.3), (8.0, 2.6), (2.1, 8.3)),
        polygon(rgb("#f2e6c9"), (3.0, 8.0), (8.0, 3.2), (13.0, 8.0), (13.0, 15.0), (3.0, 15.0)),
        rect(rgb("#6b5a3a"), 3.0, 14.6, 10.0, 0.9),
        rect(rgb("#7a4a1e"), 5.0, 10.0, 3.0, 5.0),
        rect(BLUE, 9.5, 9.8, 2.5, 2.5),
    ]


def window_icon():
    # 16 x 16 units: a form box being filled, on a blue tile.
    return [
        rect(BLUE_DARK, 0.5, 0.5, 15.0, 15.0, 3.0),
        rect(BLUE, 1.5, 1.5, 13.0, 13.0, 2.2),
        rect(WHITE, 3.0, 3.5, 10.0, 2.5, 0.6),
        rect(WHITE, 3.0, 8.0, 10.0, 4.5, 0.6),
        rect(rgb("#2a2a2a"), 4.0, 9.2, 4.5, 2.1),
        rect(rgb("#2a2a2a"), 9.3, 8.8, 0.9, 2.9),
        polygon(YELLOW, (11.0, 2.0), (15.5, 6.3), (13.2, 6.6), (14.6, 9.5), (13.4, 10.1), (12.0, 7.2), (10.4, 8.6)),
    ]


def main():
    left_grey = arrow_left(GREY_DARK, GREY)
    left_blue = arrow_left(BLUE_DARK, BLUE)
    pictures = {
        "101.png": (15, 13, left_grey),
        "102.png": (15, 13, left_blue),
        "103.png": (15, 13, mirrored(left_grey, 15)),
        "104.png": (15, 13, mirrored(left_blue, 15)),
        "105.png": (19, 19, stop_sign(GREY_DARK, GREY)),
        "106.png": (19, 19, stop_sign(RED_DARK, RED)),
        "107.png": (17, 19, refresh_page(GREY_DARK, GREY_LIGHT, GREY_DARK)),
        "108.png": (17, 19, refresh_page(YELLOW_DARK, YELLOW, GREEN)),
        "home.png": (16, 16, house()),
        "icon16.png": (16, 16, window_icon()),
        "icon256.png": (256, 256, scaled(window_icon(), 16)),
    }
    # The other sizes a desktop's icon theme asks for (hicolor).
    for size in (32, 48, 64, 128):
        pictures["icon%d.png" % size] = (size, size, scaled(window_icon(), size / 16))
    for name, (w, h, shapes) in pictures.items():
        write_png(name, w, render(w, h, shapes, samples=3 if w > 64 else 4))
    write_png("pad.png", 35, pad_badge())
    write_svg("icon.svg", 16, 16, window_icon())


if __name__ == "__main__":
    main()
