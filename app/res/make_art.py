#!/usr/bin/env python3
"""Draws the program's art and writes it beside this script.

Keyfolio.ico: a blue flash drive with a gold key on its face, at 16, 20,
24, 32, 40, 48 and 64 pixels as 32-bit bitmaps with alpha and an AND mask
(so that systems which ignore alpha still cut the shape out), and at 256
pixels as PNG. The sizes are those that the program asks for at 100%,
125%, 150% and 200% display scale: its small icon 16 pixels at 100%, its
window icon and the About box's 32.
editbutton.bmp: the dialogs' 20 x 20 edit button, a pencil, twice: the
raised button above, the pressed one below (sunken, darker, the pencil one
pixel down and right).

The shapes are signed distance functions in a 256-unit square, so every
size is drawn from the same description; each pixel is the average of a
grid of samples where an edge crosses it. Outlines are one pixel wide at
the small sizes, where they keep the parts apart. Only Python's standard
library is used, and the output is the same byte for byte on every run:
run it again after changing the drawing and commit what it writes.

    python3 app/res/make_art.py [--preview FOLDER]

--preview also writes every image enlarged as PNG, on light and dark, to
look at.
"""

import argparse
import math
import os
import struct
import zlib

ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
DESIGN = 256.0

# ---------------------------------------------------------------- shapes
# Each shape maps a design point (x, y), y downwards, to its signed distance
# from the shape's edge: negative inside.


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def box(x0, y0, x1, y1, radius=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def distance(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return distance


def wedge(apex_x, cy, base_x, half_width):
    """A point-left triangle: its apex at (apex_x, cy), its base upright at
    base_x, half_width above and below cy."""
    slope = half_width / (base_x - apex_x)
    scale = math.sqrt(1 + slope * slope)

    def distance(x, y):
        return max((abs(y - cy) - (x - apex_x) * slope) / scale, apex_x - x, x - base_x)
    return distance


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def subtract(shape, hole):
    return lambda x, y: max(shape(x, y), -hole(x, y))


def grown(shape, amount):
    return lambda x, y: shape(x, y) - amount


def rotated(shape, degrees, cx=128.0, cy=128.0):
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))

    def distance(x, y):
        dx, dy = x - cx, y - cy
        # Turned back by the angle: the point's place in the upright shape.
        return shape(cx + c * dx - s * dy, cy + s * dx + c * dy)
    return distance


# ---------------------------------------------------------------- paints
# A paint maps a design point to straight RGBA, 0..255.


def solid(rgb, alpha=255):
    return lambda x, y: (*rgb, alpha)


def vertical(top, bottom, y0, y1):
    def paint(x, y):
        t = min(max((y - y0) / (y1 - y0), 0.0), 1.0)
        return (*(a + (b - a) * t for a, b in zip(top, bottom)), 255)
    return paint


def hex_rgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


# ---------------------------------------------------------------- rendering


def render(layers, size, samples=4):
    """Paints the layers, bottom first, into size x size straight RGBA rows."""
    unit = DESIGN / size
    # A pixel whose centre lies farther than this from every edge is wholly
    # inside or outside each shape: one sample tells its colour.
    reach = unit * math.sqrt(0.5)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            cx, cy = (px + 0.5) * unit, (py + 0.5) * unit
            if all(abs(shape(cx, cy)) > reach for shape, _ in layers):
                points = [(cx, cy)]
            else:
                step = unit / samples
                points = [(px * unit + (i + 0.5) * step, py * unit + (j + 0.5) * step)
                          for j in range(samples) for i in range(samples)]
            total = [0.0, 0.0, 0.0, 0.0]  # premultiplied
            for x, y in points:
                colour = (0.0, 0.0, 0.0, 0.0)
                for shape, paint in layers:
                    if shape(x, y) <= 0:
                        colour = over(paint(x, y), colour)
                for k in range(4):
                    total[k] += colour[k]
            n = len(points)
            alpha = total[3] / n
            if alpha <= 0.0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(total[k] / n / alpha * 255) for k in range(3)) +
                           (round(alpha * 255),))
        rows.append(row)
    return rows


def over(top, under):
    """Straight RGBA 0..255 over premultiplied RGBA 0..1; premultiplied."""
    a = top[3] / 255
    return tuple(top[k] / 255 * a + under[k] * (1 - a) for k in range(3)) + \
        (a + under[3] * (1 - a),)


# ---------------------------------------------------------------- the icon

BODY_TOP, BODY_BOTTOM, BODY_EDGE = hex_rgb("#4a8ff0"), hex_rgb("#1c4fae"), hex_rgb("#0f2d66")
METAL_TOP, METAL_BOTTOM, METAL_EDGE = hex_rgb("#f4f6f8"), hex_rgb("#aab3bd"), hex_rgb("#4b545e")
SLOT = hex_rgb("#2b3138")
GOLD_TOP, GOLD_BOTTOM, GOLD_EDGE = hex_rgb("#ffe27a"), hex_rgb("#e9a600"), hex_rgb("#6e4a00")


def icon_layers(size):
    """The drive lies on the diagonal, plug to the upper right; the key lies
    along it on the drive's face, its bow at the drive's back end. At 16
    pixels the key is bolder, with one tooth and no outline of its own, so
    that its bow and its hole stay apart from the drive."""
    unit = DESIGN / size
    line = max(unit, 6.0)  # one pixel at the small sizes
    small = size <= 16

    body = box(14, 70, 184, 186, radius=24) if small else box(14, 78, 184, 178, radius=22)
    plug = box(176, 94, 246, 162, radius=4)
    slots = union(box(200, 108, 222, 122), box(200, 134, 222, 148))
    shine = box(30, 88, 168, 100, radius=6)
    if small:
        bow = subtract(circle(70, 128, 44), circle(70, 128, 18))
        shaft = box(106, 116, 170, 140)
        teeth = box(140, 128, 170, 160)
    else:
        bow = subtract(circle(66, 128, 34), circle(66, 128, 15))
        shaft = box(92, 119, 168, 137, radius=3)
        teeth = union(box(128, 130, 142, 158, radius=2), box(150, 130, 164, 152, radius=2))
    key = union(bow, shaft, teeth)

    body, plug, slots, shine, key = (rotated(shape, 45.0)
                                     for shape in (body, plug, slots, shine, key))
    layers = [
        (grown(plug, line), solid(METAL_EDGE)),
        (plug, vertical(METAL_TOP, METAL_BOTTOM, 60, 200)),
        (slots, solid(SLOT)),
        (grown(body, line), solid(BODY_EDGE)),
        (body, vertical(BODY_TOP, BODY_BOTTOM, 40, 230)),
    ]
    if size >= 48:
        layers.append((shine, solid((255, 255, 255), 60)))
    if not small:
        # Thinner than the drive's edge: a whole pixel of it buries the key.
        layers.append((grown(key, 6.0 if size == 256 else 0.6 * unit), solid(GOLD_EDGE)))
    layers.append((key, vertical(GOLD_TOP, GOLD_BOTTOM, 70, 190)))
    return layers


# ---------------------------------------------------------------- the button

FACE = hex_rgb("#f0f0f0")
PRESSED_FACE = hex_rgb("#d4d4d4")
LIGHT, SHADOW, DARK = hex_rgb("#ffffff"), hex_rgb("#a0a0a0"), hex_rgb("#696969")
WOOD, WOOD_EDGE = hex_rgb("#f5c542"), hex_rgb("#8a6a10")
BARE_WOOD, LEAD = hex_rgb("#f3d9a4"), hex_rgb("#3a3a3a")
ERASER, FERRULE = hex_rgb("#e8837a"), hex_rgb("#b8bec4")


def pencil_layers(shift, shade):
    """A pencil from lower left (point) to upper right (eraser), in the
    256-unit square that maps onto 20 x 20 pixels; `shift` moves it, in
    pixels, and `shade` darkens it (1 is as drawn)."""
    offset = shift * DESIGN / 20

    def darker(rgb):
        return tuple(round(c * shade) for c in rgb)

    def at(shape):
        def moved(x, y):
            return shape(x - offset, y - offset)
        return rotated(moved, 45.0, 128 + offset, 128 + offset)

    wood = at(box(60, 108, 176, 148))
    ferrule = at(box(176, 108, 196, 148))
    eraser = at(box(196, 108, 220, 148, radius=6))
    # The sharpened end; its first third is the lead.
    tip = at(wedge(30, 128, 60, 20))
    point = at(wedge(30, 128, 40, 20 / 3))
    outline = DESIGN / 20
    return [
        (grown(union(wood, ferrule, eraser, tip), outline * 0.7), solid(darker(WOOD_EDGE))),
        (tip, solid(darker(BARE_WOOD))),
        (point, solid(darker(LEAD))),
        (wood, solid(darker(WOOD))),
        (ferrule, solid(darker(FERRULE))),
        (eraser, solid(darker(ERASER))),
    ]


def button_image(pressed):
    """One 20 x 20 image, RGB rows: the face with its 3-D edge, then the pencil."""
    face = PRESSED_FACE if pressed else FACE
    rows = [[face] * 20 for _ in range(20)]
    if pressed:
        outer_lit, outer_dim, inner_lit, inner_dim = DARK, LIGHT, SHADOW, face
    else:
        outer_lit, outer_dim, inner_lit, inner_dim = LIGHT, DARK, face, SHADOW
    for i in range(20):
        rows[0][i] = rows[i][0] = outer_lit
        rows[19][i] = rows[i][19] = outer_dim
    for i in range(1, 19):
        rows[1][i] = rows[i][1] = inner_lit
        rows[18][i] = rows[i][18] = inner_dim
    glyph = render(pencil_layers(1 if pressed else 0, 0.8 if pressed else 1.0), 20, samples=6)
    for y in range(2, 18):
        for x in range(2, 18):
            r, g, b, a = glyph[y][x]
            if a:
                base = rows[y][x]
                rows[y][x] = tuple(round(c * a / 255 + d * (255 - a) / 255)
                                   for c, d in zip((r, g, b), base))
    return rows


# ---------------------------------------------------------------- file formats


def png(rows):
    """RGBA rows as a PNG file."""
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon_bitmap(rows):
    """An icon image as the .ico stores a bitmap: the header with twice the
    height, the 32-bit BGRA colours bottom up, then the AND mask, one bit a
    pixel (1: transparent), each row padded to 32 bits."""
    size = len(rows)
    colours = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)
    stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(colours) + len(mask), 0, 0, 0, 0)
    return header + colours + bytes(mask)


def ico(images):
    """An icon file from (size, image bytes) pairs."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for size, image in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32,
                               len(image), offset + len(data))
        data += image
    return directory + entries + data


def bmp(rows):
    """RGB rows as a 24-bit bottom-up BMP file."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) // 4 * 4
    pixels = b"".join(bytes(v for r, g, b in row for v in (b, g, r)).ljust(stride, b"\0")
                      for row in reversed(rows))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels),
                       2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0,
                       14 + len(info)) + info + pixels


def enlarged(rows, factor=8, backdrop=(255, 255, 255)):
    """RGBA rows blown up over a backdrop, for the preview."""
    out = []
    for row in rows:
        line = []
        for pixel in row:
            r, g, b, a = pixel if len(pixel) == 4 else (*pixel, 255)
            mixed = tuple(round(c * a / 255 + d * (255 - a) / 255)
                          for c, d in zip((r, g, b), backdrop))
            line += [mixed + (255,)] * factor
        out += [line] * factor
    return out


# ---------------------------------------------------------------- main


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--preview", metavar="FOLDER",
                        help="also write enlarged PNG views into FOLDER")
    options = parser.parse_args()
    here = os.path.dirname(os.path.abspath(__file__))

    icons = {size: render(icon_layers(size), size) for size in ICON_SIZES}
    images = [(size, png(rows) if size == 256 else icon_bitmap(rows))
              for size, rows in icons.items()]
    with open(os.path.join(here, "Keyfolio.ico"), "wb") as f:
        f.write(ico(images))

    button = button_image(False) + button_image(True)
    with open(os.path.join(here, "editbutton.bmp"), "wb") as f:
        f.write(bmp(button))

    if options.preview:
        os.makedirs(options.preview, exist_ok=True)
        for size, rows in icons.items():
            for name, backdrop in (("light", (255, 255, 255)), ("dark", (40, 40, 40))):
                factor = 2 if size == 256 else 8
                with open(os.path.join(options.preview, f"icon{size}-{name}.png"), "wb") as f:
                    f.write(png(enlarged(rows, factor, backdrop)))
        with open(os.path.join(options.preview, "editbutton.png"), "wb") as f:
            f.write(png(enlarged(button)))


if __name__ == "__main__":
    main()
