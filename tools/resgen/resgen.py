#!/usr/bin/env python3
"""Draws the plug-in's icons (101-103) and its built-in skin bitmap (105).

Writes src/resources/{plugin,editor,displayer}.ico and src/resources/skin.bmp.
Run from anywhere: python3 tools/resgen/resgen.py [output folder]
The output is deterministic, so regenerating leaves the committed files unchanged.
"""

import os
import struct
import sys

# --- a tiny 3x5 pixel font for the skin's labels ---------------------------------
FONT = {
    "L": ["100", "100", "100", "100", "111"],
    "Y": ["101", "101", "010", "010", "010"],
    "R": ["110", "101", "110", "101", "101"],
    "I": ["111", "010", "010", "010", "111"],
    "C": ["011", "100", "100", "100", "011"],
    "S": ["011", "100", "010", "001", "110"],
}


class Canvas:
    """RGB pixels, (0, 0) at the top left."""

    def __init__(self, width, height, color=(0, 0, 0)):
        self.width, self.height = width, height
        self.pixels = [[color] * width for _ in range(height)]

    def put(self, x, y, color):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = color

    def fill(self, left, top, right, bottom, color):
        for y in range(top, bottom):
            for x in range(left, right):
                self.put(x, y, color)

    def hline(self, left, right, y, color):
        self.fill(left, y, right, y + 1, color)

    def vline(self, x, top, bottom, color):
        self.fill(x, top, x + 1, bottom, color)

    def bevel(self, left, top, right, bottom, light, dark):
        self.hline(left, right, top, light)
        self.vline(left, top, bottom, light)
        self.hline(left, right, bottom - 1, dark)
        self.vline(right - 1, top, bottom, dark)

    def text(self, x, y, word, color):
        for ch in word:
            for row, bits in enumerate(FONT[ch]):
                for col, bit in enumerate(bits):
                    if bit == "1":
                        self.put(x + col, y + row, color)
            x += 4


# --- the skin bitmap ---------------------------------------------------------------
SKIN_WIDTH, SKIN_HEIGHT = 276, 67
MAGENTA = (255, 0, 255)  # unused area: easy to spot if a rectangle is ever wrong

ACTIVE = {"face": (40, 48, 96), "light": (120, 136, 200), "dark": (16, 20, 44),
          "groove": (70, 84, 150), "text": (230, 230, 210)}
INACTIVE = {"face": (64, 64, 72), "light": (128, 128, 140), "dark": (28, 28, 32),
            "groove": (90, 90, 100), "text": (160, 160, 160)}
BORDER = {"face": (48, 52, 80), "light": (110, 120, 170), "dark": (18, 20, 34)}


def caption_grooves(c, left, right, top, palette):
    for y in (top + 4, top + 6, top + 8):
        c.hline(left + 2, right - 2, y, palette["groove"])


def close_box(c, left, top, palette, pressed):
    right, bottom = left + 9, top + 9
    c.fill(left, top, right, bottom, palette["dark"] if pressed else palette["face"])
    if pressed:
        c.bevel(left, top, right, bottom, palette["dark"], palette["light"])
    else:
        c.bevel(left, top, right, bottom, palette["light"], palette["dark"])
    shift = 1 if pressed else 0
    for i in range(5):
        c.put(left + 2 + i + shift, top + 2 + i + shift, palette["text"])
        c.put(left + 6 - i + shift, top + 2 + i + shift, palette["text"])


def caption_row(c, top, palette):
    """Elements 0-3 (active, top 0) or 4-7 (inactive, top 14), each 13 high."""
    bottom = top + 13
    pieces = [(0, 25), (26, 176), (177, 202), (203, 228)]
    for left, right in pieces:
        c.fill(left, top, right, bottom, palette["face"])
        c.hline(left, right, top, palette["light"])
        c.hline(left, right, bottom - 1, palette["dark"])
    # left end: a rounded cap
    c.vline(0, top, bottom, palette["light"])
    c.fill(3, top + 3, 9, top + 10, palette["groove"])
    # middle: the title, centred over grooves
    caption_grooves(c, 26, 176, top, palette)
    c.fill(26 + 75 - 16, top + 2, 26 + 75 + 16, top + 11, palette["face"])
    c.text(26 + 75 - 11, top + 4, "LYRICS", palette["text"])
    # right part: grooves only (tiled as filler)
    caption_grooves(c, 177, 202, top, palette)
    # right end: grooves up to the close box, then the box itself
    caption_grooves(c, 203, 215, top, palette)
    c.vline(227, top, bottom, palette["dark"])
    close_box(c, 217, top + 3, palette, pressed=False)


def border_tile(c, left, top, right, bottom, vertical):
    c.fill(left, top, right, bottom, BORDER["face"])
    if vertical:
        c.vline(left, top, bottom, BORDER["light"])
        c.vline(right - 1, top, bottom, BORDER["dark"])
    else:
        c.hline(left, right, top, BORDER["light"])
        c.hline(left, right, bottom - 1, BORDER["dark"])


def lyrics_button(c, left, top):
    """The button the link draws on the player: 241,10 - 271,18 (30 x 8)."""
    right, bottom = left + 30, top + 8
    c.fill(left, top, right, bottom, (24, 24, 40))
    c.bevel(left, top, right, bottom, (150, 150, 190), (10, 10, 16))
    c.text(left + 4, top + 2 - 1, "LYRICS", (0, 220, 120))


def draw_skin():
    c = Canvas(SKIN_WIDTH, SKIN_HEIGHT, MAGENTA)
    caption_row(c, 0, ACTIVE)     # elements 0-3
    caption_row(c, 14, INACTIVE)  # elements 4-7
    border_tile(c, 229, 0, 234, 19, vertical=True)   # 12 left border tile
    border_tile(c, 235, 0, 240, 19, vertical=True)   # 14 right border tile
    border_tile(c, 0, 28, 5, 61, vertical=True)      # 13 lower left piece
    border_tile(c, 271, 28, 276, 61, vertical=True)  # 15 lower right piece
    c.fill(1, 50, 4, 60, BORDER["light"])            # grip marks on the lower pieces
    c.fill(272, 50, 275, 60, BORDER["light"])
    border_tile(c, 229, 20, 254, 25, vertical=False)  # 17 bottom tile
    border_tile(c, 0, 62, 125, 67, vertical=False)    # 16 bottom left part
    border_tile(c, 126, 62, 276, 67, vertical=False)  # 18 bottom right part
    for x in range(262, 274, 3):                      # size grip in the bottom right
        c.put(x, 64, BORDER["light"])
    close_box(c, 241, 0, ACTIVE, pressed=True)        # 20 close box pressed
    lyrics_button(c, 241, 10)
    return c


def bmp_bytes(c):
    """24-bit bottom-up BMP."""
    stride = (c.width * 3 + 3) & ~3
    image = bytearray()
    for y in range(c.height - 1, -1, -1):
        row = bytearray()
        for r, g, b in c.pixels[y]:
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        image += row
    header = struct.pack("<IiiHHIIiiII", 40, c.width, c.height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(image), 0, 0, 14 + len(header))
    return file_header + header + bytes(image)


# --- icons -------------------------------------------------------------------------
def icon_canvas(size, background, draw):
    """RGBA pixels: a rounded square of background with the glyph drawn over it."""
    c = Canvas(size, size, None)
    radius = size // 6
    for y in range(size):
        for x in range(size):
            dx = max(radius - x, x - (size - 1 - radius), 0)
            dy = max(radius - y, y - (size - 1 - radius), 0)
            if dx * dx + dy * dy <= radius * radius:
                c.put(x, y, background)
    draw(c, size)
    return c


def note(c, size, color):
    s = size / 32.0
    c.fill(int(18 * s), int(6 * s), int(20 * s), int(22 * s), color)        # stem
    c.fill(int(18 * s), int(6 * s), int(25 * s), int(9 * s), color)         # flag
    for y in range(int(19 * s), int(26 * s)):                               # head
        for x in range(int(10 * s), int(20 * s)):
            if ((x - 15 * s) / (5 * s)) ** 2 + ((y - 22.5 * s) / (3.5 * s)) ** 2 <= 1:
                c.put(x, y, color)


def draw_plugin(c, size):
    note(c, size, (255, 255, 255))


def draw_editor(c, size):
    s = size / 32.0
    for i, width in enumerate((18, 14, 20, 10)):
        top = int((6 + i * 6) * s)
        c.fill(int(5 * s), top, int((5 + width) * s), top + max(1, int(2 * s)), (255, 255, 255))
    for i in range(int(14 * s)):  # the pencil
        x, y = int(26 * s) - i, int(8 * s) + i
        c.fill(x - max(1, int(s)), y, x + max(1, int(s)) + 1, y + 1, (250, 210, 80))


def draw_displayer(c, size):
    s = size / 32.0
    rows = ((6, 16, (150, 150, 150)), (13, 22, (210, 220, 220)), (20, 18, (150, 150, 150)))
    for top, width, color in rows:
        left = (size - int(width * s)) // 2
        c.fill(left, int(top * s), left + int(width * s), int(top * s) + max(1, int(3 * s)), color)
    c.fill(int(5 * s), int(13 * s), int(5 * s) + max(1, int(3 * s)), int(16 * s), (175, 145, 145))


def ico_bytes(images):
    entries, blobs = bytearray(), bytearray()
    offset = 6 + 16 * len(images)
    for c in images:
        size = c.width
        xor = bytearray()
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for y in range(size - 1, -1, -1):
            bits = 0
            row_mask = bytearray(mask_stride)
            for x in range(size):
                px = c.pixels[y][x]
                if px is None:
                    xor += b"\0\0\0\0"
                    row_mask[x // 8] |= 0x80 >> (x % 8)
                else:
                    r, g, b = px
                    xor += bytes((b, g, r, 255))
            mask += row_mask
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blob = header + bytes(xor) + bytes(mask)
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + bytes(entries) + bytes(blobs)


ICONS = {
    "plugin.ico": ((40, 60, 130), draw_plugin),      # 101: the plug-in and its Options sheet
    "editor.ico": ((40, 100, 70), draw_editor),      # 102: the Editor
    "displayer.ico": ((60, 35, 35), draw_displayer),  # 103: the Displayer and the tray
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "src", "resources")
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "skin.bmp"), "wb") as f:
        f.write(bmp_bytes(draw_skin()))
    for name, (background, draw) in ICONS.items():
        images = [icon_canvas(size, background, draw) for size in (32, 16)]
        with open(os.path.join(out, name), "wb") as f:
            f.write(ico_bytes(images))


if __name__ == "__main__":
    main()
