#!/usr/bin/env python3
"""Draws Trovik's icon and writes it as trovik.ico (16, 32 and 48 pixels, 32-bit with alpha).

The picture: a blue tile holding the lines of a list, and an amber arrow that starts one of them.
Each size is drawn from the same shapes, placed on whole pixels for that size so the small icons
stay sharp, and smoothed by sampling every pixel 8 x 8 times. Only the standard library is used.

    makeicon.py                 rewrites trovik.ico beside this script
    makeicon.py --png DIR       also writes DIR/trovik-<size>.png, to look at the result
"""
import argparse
import os
import struct
import zlib

SIZES = (16, 32, 48)
SAMPLES = 8

TILE_TOP = (0x3B, 0x8E, 0xE0)
TILE_BOTTOM = (0x1A, 0x4A, 0x8C)
TILE_EDGE = (0x10, 0x30, 0x60)
LINE = (0xFF, 0xFF, 0xFF)
ARROW = (0xFF, 0xB0, 0x20)
ARROW_EDGE = (0xA8, 0x58, 0x00)


def layout(size):
    """The shapes for one size, in pixels: the tile, the list lines and the arrow."""
    s = size / 48.0
    snap = lambda v: round(v * s)
    # Lines are at least one pixel high and one pixel apart, starting on a whole pixel.
    height = max(1, snap(5))
    lines = []
    for top, right in ((10, 38), (19, 30), (28, 22)):
        y = snap(top)
        lines.append((snap(9), y, snap(right), y + height))
    if size <= 16:
        # Whole pixels: at this size a smoothed edge is only a blur.
        arrow = ((8.0, 7.0), (8.0, 16.0), (15.5, 11.5))
    else:
        arrow = ((24.5 * s, 24.5 * s), (24.5 * s, 44.5 * s), (44.0 * s, 34.5 * s))
    return {
        "tile": (0.5 * s if size > 16 else 0.0, size - (0.5 * s if size > 16 else 0.0)),
        "radius": max(2.0, 8 * s),
        "edge": max(1.0, 1.5 * s),
        "lines": lines,
        "arrow": arrow,
        "arrow_edge": 1.6 * s if size > 16 else 0.0,
    }


def in_rounded(x, y, lo, hi, r):
    if x < lo or y < lo or x > hi or y > hi:
        return False
    cx = min(max(x, lo + r), hi - r)
    cy = min(max(y, lo + r), hi - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def edge_distance(px, py, a, b):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return ((px - ax - t * dx) ** 2 + (py - ay - t * dy) ** 2) ** 0.5


def in_triangle(px, py, tri):
    (x1, y1), (x2, y2), (x3, y3) = tri
    d1 = (px - x2) * (y1 - y2) - (x1 - x2) * (py - y2)
    d2 = (px - x3) * (y2 - y3) - (x2 - x3) * (py - y3)
    d3 = (px - x1) * (y3 - y1) - (x3 - x1) * (py - y1)
    negative = d1 < 0 or d2 < 0 or d3 < 0
    positive = d1 > 0 or d2 > 0 or d3 > 0
    return not (negative and positive)


def sample(px, py, size, shapes):
    """The colour (r, g, b, a) at one point."""
    lo, hi = shapes["tile"]
    r = shapes["radius"]
    colour = None
    if in_rounded(px, py, lo, hi, r):
        if not in_rounded(px, py, lo + shapes["edge"], hi - shapes["edge"], max(0.0, r - shapes["edge"])):
            colour = TILE_EDGE
        else:
            t = (py - lo) / (hi - lo)
            colour = tuple(round(a + (b - a) * t) for a, b in zip(TILE_TOP, TILE_BOTTOM))
        for x0, y0, x1, y1 in shapes["lines"]:
            if x0 <= px < x1 and y0 <= py < y1:
                colour = LINE
    tri = shapes["arrow"]
    if in_triangle(px, py, tri):
        near = min(edge_distance(px, py, tri[i], tri[(i + 1) % 3]) for i in range(3))
        colour = ARROW_EDGE if near < shapes["arrow_edge"] else ARROW
    if colour is None:
        return (0, 0, 0, 0)
    return colour + (255,)


def render(size):
    """Rows of (r, g, b, a) pixels, top row first, each pixel averaged from its samples."""
    shapes = layout(size)
    rows = []
    step = 1.0 / SAMPLES
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    r, g, b, a = sample(x + (sx + 0.5) * step, y + (sy + 0.5) * step, size, shapes)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            alpha = acc[3] / (SAMPLES * SAMPLES)
            if acc[3]:
                row.append(tuple(round(c / acc[3]) for c in acc[:3]) + (round(alpha),))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def dib(rows):
    """One icon image: a BITMAPINFOHEADER, the BGRA pixels bottom-up, then the AND mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + pixels + bytes(mask)


def ico(images):
    """The .ico file: the directory, then each image."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    data = b""
    for size, image in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
        data += image
    return out + data


def png(rows):
    size = len(rows)
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--png", metavar="DIR", help="also write a PNG of each size into DIR")
    args = parser.parse_args()
    here = os.path.dirname(os.path.abspath(__file__))
    images = []
    for size in SIZES:
        rows = render(size)
        images.append((size, dib(rows)))
        if args.png:
            os.makedirs(args.png, exist_ok=True)
            with open(os.path.join(args.png, f"trovik-{size}.png"), "wb") as f:
                f.write(png(rows))
    target = os.path.join(here, "trovik.ico")
    with open(target + ".new", "wb") as f:
        f.write(ico(images))
    os.replace(target + ".new", target)
    print(f"wrote {target}")


if __name__ == "__main__":
    main()
