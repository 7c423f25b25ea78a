#!/usr/bin/env python3
"""Draws the wizard pages' images (wordless) into resources/pages.

Run again after changing a drawing; the results are committed so that the
resource build needs no Python.
"""
import math
import os
import struct
import sys
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "pages")


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


class Canvas:
    def __init__(self, width, height, colour=(0, 0, 0, 0)):
        self.width, self.height = width, height
        self.px = [[colour] * width for _ in range(height)]

    def vertical_gradient(self, top, bottom):
        for y in range(self.height):
            c = mix(top, bottom, y / max(1, self.height - 1))
            self.px[y] = [c] * self.width

    def blend(self, x, y, colour, cover):
        if 0 <= x < self.width and 0 <= y < self.height and cover > 0:
            r, g, b, a = self.px[y][x]
            cr, cg, cb, ca = colour
            sa = ca / 255 * cover
            out = sa + a / 255 * (1 - sa)
            if out == 0:
                return
            blend = lambda s, d: round((s * sa + d * a / 255 * (1 - sa)) / out)
            self.px[y][x] = (blend(cr, r), blend(cg, g), blend(cb, b), round(out * 255))

    def shape(self, inside, colour, box):
        """Fills the points where inside(x, y) holds, 4x4 supersampled."""
        x0, y0, x1, y1 = (max(0, int(box[0])), max(0, int(box[1])),
                          min(self.width, int(box[2]) + 1), min(self.height, int(box[3]) + 1))
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = sum(inside(x + (i + 0.5) / 4, y + (j + 0.5) / 4) for i in range(4) for j in range(4))
                self.blend(x, y, colour, hits / 16)

    def ellipse(self, cx, cy, rx, ry, colour, angle=0.0):
        c, s = math.cos(angle), math.sin(angle)

        def inside(x, y):
            dx, dy = x - cx, y - cy
            u, v = dx * c + dy * s, -dx * s + dy * c
            return (u / rx) ** 2 + (v / ry) ** 2 <= 1
        r = max(rx, ry)
        self.shape(inside, colour, (cx - r, cy - r, cx + r, cy + r))

    def rounded_bar(self, colour_top, colour_bottom, radius, left, right):
        """A horizontal bar slice whose left and/or right end is rounded."""
        w, h = self.width, self.height
        for y in range(h):
            c = mix(colour_top, colour_bottom, y / max(1, h - 1))
            for x in range(w):
                cover = 0
                for i in range(4):
                    for j in range(4):
                        px, py = x + (i + 0.5) / 4, y + (j + 0.5) / 4
                        cx = radius if left and px < radius else (w - radius if right and px > w - radius else px)
                        cy = min(max(py, radius), h - radius)
                        cover += (px - cx) ** 2 + (py - cy) ** 2 <= radius ** 2
                self.blend(x, y, c, cover / 16)

    def png(self, name):
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(self.png_bytes())

    def png_bytes(self):
        raw = b"".join(b"\0" + b"".join(struct.pack("4B", *p) for p in row) for row in self.px)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
        return (b"\x89PNG\r\n\x1a\n"
                + chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def calyx(canvas, cx, cy, size, colour):
    """The product's mark: five sepals around a round centre."""
    for k in range(5):
        a = -math.pi / 2 + k * 2 * math.pi / 5
        canvas.ellipse(cx + math.cos(a) * size * 0.55, cy + math.sin(a) * size * 0.55,
                       size * 0.5, size * 0.2, colour, a)
    canvas.ellipse(cx, cy, size * 0.28, size * 0.28, (255, 214, 102, 255))


DEEP, LIGHT = (18, 92, 84, 255), (40, 140, 122, 255)


def masthead():
    fill = Canvas(1, 48)
    fill.vertical_gradient(LIGHT, DEEP)
    fill.png("masthead_fill.png")
    left = Canvas(180, 48)
    left.vertical_gradient(LIGHT, DEEP)
    calyx(left, 30, 24, 17, (226, 246, 236, 255))
    for i, w in enumerate((110, 80, 50)):
        left.shape(lambda x, y, i=i, w=w: 60 <= x <= 60 + w and 14 + i * 8 <= y <= 17 + i * 8,
                   (226, 246, 236, 110 - i * 25), (60, 10, 180, 40))
    left.png("masthead_left.png")


def bar_slices():
    colours = {"bg": ((206, 210, 214, 255), (238, 240, 242, 255)),
               "fg": ((88, 190, 150, 255), (24, 120, 96, 255))}
    for layer, (top, bottom) in colours.items():
        for part, width, left, right in (("left", 7, True, False), ("fill", 1, False, False),
                                         ("right", 7, False, True)):
            slice_ = Canvas(width, 14)
            slice_.rounded_bar(top, bottom, 7, left, right)
            slice_.png("progress_%s_%s.png" % (layer, part))


def banner():
    b = Canvas(440, 150)
    b.vertical_gradient((236, 248, 242, 255), (196, 228, 216, 255))
    for k in range(7):
        b.ellipse(40 + k * 62, 150 + 30 * math.sin(k), 70, 50, (40, 140, 122, 40 + 10 * (k % 3)))
    calyx(b, 330, 68, 46, (18, 92, 84, 230))
    for i, w in enumerate((200, 160, 120)):
        b.shape(lambda x, y, i=i, w=w: 30 <= x <= 30 + w and 40 + i * 24 <= y <= 50 + i * 24,
                (18, 92, 84, 170 - i * 40), (30, 36, 240, 110))
    b.png("CalyxPromoBanner_en.png")


def lzw(indices, min_size):
    """GIF's variable-width LZW; frames are small enough never to fill the table."""
    clear, end = 1 << min_size, (1 << min_size) + 1
    out, bits, nbits = bytearray(), 0, 0
    size, table, prefix = min_size + 1, {}, None

    def emit(code):
        nonlocal bits, nbits
        bits |= code << nbits
        nbits += size
        while nbits >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8
    emit(clear)
    for symbol in indices:
        key = (prefix, symbol)
        if prefix is None:
            prefix = symbol
        elif key in table:
            prefix = table[key]
        else:
            emit(prefix)
            table[key] = end + 1 + len(table)
            if end + len(table) >= 1 << size:
                size += 1
            prefix = symbol
    emit(prefix)
    emit(end)
    if nbits:
        out.append(bits & 0xFF)
    return b"".join(bytes([len(out[i:i + 255])]) + out[i:i + 255] for i in range(0, len(out), 255)) + b"\0"


def loader():
    """A 16x16 spinner: eight dots, one bright, in eight frames."""
    palette = [(255, 255, 255), (200, 214, 210), (24, 120, 96), (120, 176, 160)]
    frames = []
    for f in range(8):
        img = [[0] * 16 for _ in range(16)]
        for d in range(8):
            a = d * math.pi / 4
            cx, cy = 8 + 5.5 * math.cos(a), 8 + 5.5 * math.sin(a)
            colour = 2 if d == f else (3 if (f - d) % 8 == 1 else 1)
            for y in range(16):
                for x in range(16):
                    if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= 2.6:
                        img[y][x] = colour
        frames.append([p for row in img for p in row])
    data = bytearray(b"GIF89a" + struct.pack("<HHBBB", 16, 16, 0xF1, 0, 0))
    data += b"".join(bytes(c) for c in palette)
    data += b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"
    for frame in frames:
        data += b"\x21\xf9\x04\x04" + struct.pack("<H", 10) + b"\x00\x00"
        data += b"\x2c" + struct.pack("<HHHHB", 0, 0, 16, 16, 0) + b"\x02" + lzw(frame, 2)
    data += b"\x3b"
    with open(os.path.join(OUT, "loader.gif"), "wb") as f:
        f.write(data)


def icon():
    """The executable's and its windows' icon: the mark on a rounded tile,
    one PNG image per size (Windows Vista and later read them)."""
    images = []
    for size in (16, 24, 32, 48, 256):
        tile = Canvas(size, size)
        radius = size * 0.2
        tile.shape(lambda x, y: (min(max(x, radius), size - radius) - x) ** 2 +
                   (min(max(y, radius), size - radius) - y) ** 2 <= radius ** 2,
                   DEEP, (0, 0, size, size))
        calyx(tile, size / 2, size / 2, size * 0.36, (226, 246, 236, 255))
        images.append((size, tile.png_bytes()))
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, png in images:
        data += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(png), offset)
        offset += len(png)
    with open(os.path.join(OUT, "..", "cxroffline.ico"), "wb") as f:
        f.write(data + b"".join(png for _, png in images))


if __name__ == "__main__":
    masthead()
    bar_slices()
    banner()
    loader()
    icon()
    sys.exit(0)
