#!/usr/bin/env python3
"""Draws Telvor's three icons and writes them as .ico files (16x16 and 32x32, 32-bit).

    python3 tools/icons/make_icons.py [output folder]   (default: src/ui/win/icons)

MainForm.ico       the program: a white handset on a blue disc.
ConfigureForm.ico  display of calls switched off: the handset on a grey disc, struck through.
CallerForm.ico     a call is held: the handset on an orange disc with a pause sign.

Standard library only; the output is deterministic, so regenerating changes no bytes.
"""
import math
import os
import struct
import sys

SIZES = (16, 32)
SUPERSAMPLE = 4


def disc(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def handset():
    """An arch with an ear and a mouth piece at its feet."""
    cx, cy, inner, outer = 0.5, 0.64, 0.17, 0.29

    def arch(x, y):
        d = math.hypot(x - cx, y - cy)
        return y <= cy and inner <= d <= outer

    ear = ellipse(cx - 0.25, cy + 0.02, 0.12, 0.075)
    mouth = ellipse(cx + 0.25, cy + 0.02, 0.12, 0.075)
    return lambda x, y: arch(x, y) or ear(x, y) or mouth(x, y)


def slash(width):
    def inside(x, y):
        # distance from the line x = y, limited to the disc
        return abs(x - y) / math.sqrt(2) <= width / 2 and (x - 0.5) ** 2 + (y - 0.5) ** 2 <= 0.42**2

    return inside


WHITE = (255, 255, 255, 255)

DESIGNS = {
    "MainForm.ico": [
        (disc(0.5, 0.5, 0.48), (30, 90, 190, 255)),
        (handset(), WHITE),
    ],
    "ConfigureForm.ico": [
        (disc(0.5, 0.5, 0.48), (128, 128, 128, 255)),
        (handset(), (235, 235, 235, 255)),
        (slash(0.13), (200, 30, 30, 255)),
    ],
    "CallerForm.ico": [
        (disc(0.5, 0.5, 0.48), (235, 130, 20, 255)),
        (handset(), WHITE),
        (box(0.37, 0.1, 0.46, 0.28), WHITE),
        (box(0.54, 0.1, 0.63, 0.28), WHITE),
    ],
}


def render(layers, size):
    """Rows top to bottom of (r, g, b, a), each layer painted over the ones before."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]  # premultiplied
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) / size
                    y = (py + (sy + 0.5) / n) / size
                    c = (0.0, 0.0, 0.0, 0.0)
                    for inside, colour in layers:
                        if inside(x, y):
                            a = colour[3] / 255.0
                            c = tuple(colour[i] * a + c[i] * (1 - a) for i in range(3)) + (
                                a + c[3] * (1 - a),)
                    for i in range(4):
                        acc[i] += c[i]
            samples = n * n
            alpha = acc[3] / samples
            if alpha > 0:
                rgb = [round(acc[i] / samples / alpha) for i in range(3)]
            else:
                rgb = [0, 0, 0]
            row.append((rgb[0], rgb[1], rgb[2], round(alpha * 255)))
        rows.append(row)
    return rows


def icon_image(rows):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask = bytearray()
    stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def ico(images):
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, "..", "..", "src", "ui", "win", "icons")
    folder = sys.argv[1] if len(sys.argv) > 1 else default
    os.makedirs(folder, exist_ok=True)
    for name, layers in DESIGNS.items():
        images = [(size, icon_image(render(layers, size))) for size in SIZES]
        with open(os.path.join(folder, name), "wb") as f:
            f.write(ico(images))
        print(os.path.normpath(os.path.join(folder, name)))


if __name__ == "__main__":
    main()
