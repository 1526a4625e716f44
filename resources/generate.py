#!/usr/bin/env python3
"""Draws every bitmap, the hand cursor and the icon of Zamenor; this source is the design.

    python3 resources/generate.py                   write the files next to this script
    python3 resources/generate.py --check           exit 1 when a committed file differs
    python3 resources/generate.py --preview F.png   also write an enlarged sheet to look at

Standard library only, and no time stamps in any file, so every run gives the same bytes.
"""

import argparse
import math
import os
import re
import struct
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# The skin's colours as (R, G, B).
MAGENTA = (255, 0, 255)  # transparent wherever the program draws with a colour key
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
CREAM = (255, 245, 221)  # scroll-bar track
LIGHT = (255, 226, 150)
AMBER = (255, 204, 94)  # form background
GOLD = (255, 184, 0)  # bottom label buttons
HOVER = (255, 174, 0)  # inactive caption, hovered buttons
ORANGE = (255, 153, 0)  # active caption, pressed buttons, menu accent
DEEP = (224, 112, 0)
BROWN = (120, 60, 0)

# One letter per colour for the pixel art below; "." is transparent.
PALETTE = {
    ".": MAGENTA, "k": BLACK, "w": WHITE, "c": CREAM, "l": LIGHT, "a": AMBER,
    "g": GOLD, "h": HOVER, "o": ORANGE, "d": DEEP, "b": BROWN,
}


# ---- raster ----------------------------------------------------------------------------------

class Image:
    def __init__(self, width, height, fill=MAGENTA):
        self.width, self.height = width, height
        self.rows = [[fill] * width for _ in range(height)]

    def get(self, x, y):
        return self.rows[y][x]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = colour

    def box(self, x0, y0, x1, y1, colour):
        """Fills the inclusive rectangle."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def paint(self, mask, colour):
        for x, y in mask:
            self.put(x, y, colour)

    def art(self, x0, y0, text, palette=PALETTE):
        """Copies pixel art: one string per row, one palette letter per pixel, "." skipped."""
        for dy, line in enumerate(text.strip("\n").split("\n")):
            for dx, ch in enumerate(line):
                if ch != ".":
                    self.put(x0 + dx, y0 + dy, palette[ch])

    def paste(self, other, x0, y0, key=MAGENTA):
        for y in range(other.height):
            for x in range(other.width):
                c = other.rows[y][x]
                if c != key:
                    self.put(x0 + x, y0 + y, c)

    def stretch(self, other, x0, y0, width, height):
        """StretchBlt without smoothing: each target pixel takes the source pixel it maps to."""
        for y in range(height):
            for x in range(width):
                self.put(x0 + x, y0 + y,
                         other.rows[y * other.height // height][x * other.width // width])

    def transposed(self):
        out = Image(self.height, self.width)
        out.rows = [[self.rows[y][x] for y in range(self.height)] for x in range(self.width)]
        return out

    def scaled(self, factor):
        out = Image(self.width * factor, self.height * factor)
        out.rows = [[c for c in row for _ in range(factor)] for row in self.rows
                    for _ in range(factor)]
        return out


# Masks are sets of (x, y) pixels; shapes test pixel centres, so edges land on whole pixels.

def rect(x0, y0, x1, y1):
    return {(x, y) for y in range(y0, y1 + 1) for x in range(x0, x1 + 1)}


def rounded(x0, y0, x1, y1, radius):
    """Inclusive rectangle with corners rounded to the radius."""
    out = set()
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            px, py = x + 0.5, y + 0.5
            cx = min(max(px, x0 + radius), x1 + 1 - radius)
            cy = min(max(py, y0 + radius), y1 + 1 - radius)
            if (px - cx) ** 2 + (py - cy) ** 2 <= radius * radius:
                out.add((x, y))
    return out


def ellipse(cx, cy, rx, ry=None):
    """Centre in pixel-edge coordinates (pixel x spans x..x+1). Some radii leave a lone pixel
    sticking out at the top, bottom and sides; the radii below were picked to avoid that."""
    ry = rx if ry is None else ry
    return {(x, y) for y in range(math.floor(cy - ry), math.ceil(cy + ry) + 1)
            for x in range(math.floor(cx - rx), math.ceil(cx + rx) + 1)
            if ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2 <= 1.0}


def polygon(points):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    out = set()
    for y in range(math.floor(min(ys)), math.ceil(max(ys)) + 1):
        for x in range(math.floor(min(xs)), math.ceil(max(xs)) + 1):
            px, py, inside = x + 0.5, y + 0.5, False
            for i in range(len(points)):
                (ax, ay), (bx, by) = points[i - 1], points[i]
                if (ay > py) != (by > py) and px < ax + (py - ay) * (bx - ax) / (by - ay):
                    inside = not inside
            if inside:
                out.add((x, y))
    return out


def border(mask):
    """The pixels of the mask that touch the outside: a one-pixel outline that hugs it."""
    return {(x, y) for x, y in mask
            if {(x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)} - mask}


def shape(img, mask, fill, outline=BLACK, light=None, dark=None):
    """A filled shape with a black outline and, inside it, an optional bevel: light along the
    top and left, dark along the bottom and right, split on the diagonal at the corners."""
    img.paint(mask, fill)
    edge = border(mask)
    inner = mask - edge
    if light or dark:
        ring = border(inner)
        x0 = min(x for x, _ in mask)
        y0 = min(y for _, y in mask)
        w = max(x for x, _ in mask) - x0
        h = max(y for _, y in mask) - y0
        for x, y in ring:
            before = (x - 1, y) in edge or (x, y - 1) in edge
            after = (x + 1, y) in edge or (x, y + 1) in edge
            if before and after:
                before = (x - x0) / max(w, 1) + (y - y0) / max(h, 1) < 1.0
            img.put(x, y, (light if before else dark) or fill)
    if outline:
        img.paint(edge, outline)


def rows_gradient(img, mask, top, bottom):
    """Fills the mask in horizontal bands from one colour to the other: crisp, no dithering."""
    y0 = min(y for _, y in mask)
    y1 = max(y for _, y in mask)
    for x, y in mask:
        t = (y - y0) / max(y1 - y0, 1)
        img.put(x, y, tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))


# ---- window frame ----------------------------------------------------------------------------
# The frame is 3 pixels wide and its 2-pixel pieces are stretched into it: a dark outer line
# and an orange inner line that meets the orange caption bar.

def frame_pieces():
    o, i, s = BROWN, ORANGE, DEEP  # outer line, inner line on top and left, on bottom and right
    def piece(w, h, colours):
        img = Image(w, h)
        for y in range(h):
            for x in range(w):
                img.put(x, y, colours[y][x])
        return img
    return {
        "fb_tl": piece(2, 2, [[o, o], [o, i]]),
        "fb_t": piece(1, 2, [[o], [i]]),
        "fb_tr": piece(2, 2, [[o, o], [s, o]]),
        "fb_l": piece(2, 1, [[o, i]]),
        "fb_r": piece(2, 1, [[s, o]]),
        "fb_bl": piece(2, 2, [[o, s], [o, o]]),
        "fb_b": piece(1, 2, [[s], [o]]),
        "fb_br": piece(2, 2, [[s, o], [o, o]]),
    }


# ---- caption buttons -------------------------------------------------------------------------
# A rounded 13 x 13 key with magenta corners, so the button's colour shows around it.

CAPTION_GLYPHS = {
    "btnClose": """
kk...kk
kkk.kkk
.kkkkk.
..kkk..
.kkkkk.
kkk.kkk
kk...kk
""",
    "btnMin": """
.......
.......
.......
.......
.......
kkkkkkk
kkkkkkk
""",
    "btnMax": """
kkkkkkk
kkkkkkk
k.....k
k.....k
k.....k
k.....k
kkkkkkk
""",
    "btnRestore": """
..kkkkk
..kkkkk
kkkkk.k
kkkkk.k
k...kkk
k...k..
kkkkk..
""",
}


def caption_button(name, highlighted):
    img = Image(13, 13)
    key = rect(0, 0, 12, 12) - {(0, 0), (1, 0), (0, 1), (11, 0), (12, 0), (12, 1),
                                (0, 11), (0, 12), (1, 12), (12, 11), (12, 12), (11, 12)}
    if highlighted:
        shape(img, key, CREAM, light=WHITE, dark=AMBER)
    else:
        shape(img, key, GOLD, light=LIGHT, dark=DEEP)
    img.art(3, 3, CAPTION_GLYPHS[name])
    return img


# ---- scroll bars -----------------------------------------------------------------------------
# The arrow buttons are never flipped or turned: one picture serves all four ends, so it shows
# a diamond rather than an arrow. Scroll pieces are drawn opaque; their corners take the track
# colour instead of magenta.

def scroll_button(pressed):
    img = Image(16, 16, CREAM)
    key = rect(0, 0, 15, 15) - {(0, 0), (15, 0), (0, 15), (15, 15)}
    if pressed:
        shape(img, key, ORANGE, light=DEEP, dark=GOLD)
    else:
        shape(img, key, GOLD, light=LIGHT, dark=DEEP)
    shift = 1 if pressed else 0
    img.art(4 + shift, 4 + shift, """
...kk...
..kwwk..
.kwllgk.
kwllgggk
kwlggggk
.kgggdk.
..kgdk..
...kk...
""")
    return img


def vertical_thumb():
    """The thumb of a vertical bar drawn whole, 16 x 5: two cap rows, one middle row, two cap
    rows. The pieces are cut from it, so caps and middle always match."""
    img = Image(16, 5, CREAM)
    key = rect(0, 0, 15, 4) - {(0, 0), (15, 0), (0, 4), (15, 4)}
    shape(img, key, GOLD, light=LIGHT, dark=DEEP)
    return img


def crop(img, x0, y0, w, h):
    out = Image(w, h)
    out.rows = [row[x0:x0 + w] for row in img.rows[y0:y0 + h]]
    return out


def scroll_pieces():
    thumb = vertical_thumb()
    pieces = {
        "sbbtn": scroll_button(False),
        "sbbtn_p": scroll_button(True),
        "sbv_t": crop(thumb, 0, 0, 16, 2),
        "sbv_m": crop(thumb, 0, 2, 16, 1),
        "sbv_b": crop(thumb, 0, 3, 16, 2),
    }
    pieces["sbh_l"] = pieces["sbv_t"].transposed()
    pieces["sbh_m"] = pieces["sbv_m"].transposed()
    pieces["sbh_r"] = pieces["sbv_b"].transposed()
    return pieces


# ---- toolbar ---------------------------------------------------------------------------------
# 26 x 26 on magenta, so the button's hover and pressed colours show behind the picture. The
# picture keeps clear of the last two columns and rows: a pressed button draws it 2 pixels
# right and down and clips what passes the edge.

def tool_open():
    """An open folder with a page in it."""
    img = Image(26, 26)
    shape(img, rect(3, 6, 9, 8) | rect(3, 7, 19, 21), ORANGE)
    shape(img, rect(6, 9, 17, 17), WHITE)
    img.box(8, 11, 15, 11, BLACK)
    img.box(8, 13, 13, 13, BLACK)
    shape(img, polygon([(8, 12), (24, 12), (20, 22), (3, 22)]), LIGHT)
    return img


def tool_save():
    """A diskette."""
    img = Image(26, 26)
    shape(img, polygon([(3, 3), (20, 3), (23, 6), (23, 23), (3, 23)]), ORANGE,
          light=GOLD, dark=DEEP)
    shape(img, rect(7, 3, 18, 10), CREAM)
    img.box(14, 5, 16, 8, BLACK)
    shape(img, rect(6, 13, 20, 23), WHITE)
    for y in (16, 19):
        img.box(8, y, 18, y, ORANGE)
    return img


def tool_clear():
    """An eraser at 45 degrees over the strokes it rubbed out."""
    img = Image(26, 26)
    ux, uy = 1 / math.sqrt(2), -1 / math.sqrt(2)  # along the eraser
    vx, vy = -uy, ux  # across it
    cx, cy = 13.5, 11.5

    def corners(a, b):
        return [(cx + ux * s + vx * t, cy + uy * s + vy * t)
                for s, t in ((a, -4.6), (b, -4.6), (b, 4.6), (a, 4.6))]
    shape(img, polygon(corners(-3.2, 9.5)), ORANGE, light=GOLD, dark=DEEP)
    shape(img, polygon(corners(-9.5, -3.2)), WHITE, light=WHITE, dark=LIGHT)
    img.box(13, 22, 22, 22, BLACK)
    img.box(17, 20, 22, 20, DEEP)
    return img


def tool_find():
    """A page of text with the found phrase marked in orange, under a lens."""
    img = Image(26, 26)
    shape(img, rect(2, 2, 16, 21), WHITE)
    img.box(4, 7, 12, 9, ORANGE)
    for y, x1 in ((5, 13), (8, 11), (11, 9), (14, 7), (17, 12)):
        img.box(4, y, x1, y, BLACK)
    handle = polygon([(18.0, 20.4), (20.4, 18.0), (24.4, 22.0), (22.0, 24.4)])
    shape(img, handle, BROWN, light=DEEP, dark=BLACK)
    img.paint(ellipse(15.0, 15.0, 6.4), BLACK)
    shape(img, ellipse(15.0, 15.0, 4.4), CREAM, outline=None, light=WHITE, dark=LIGHT)
    return img


def padlock(open_):
    """Closed for the ciphertext, the shackle lifted out of the body for the plaintext."""
    img = Image(26, 26)
    cy = 8 if open_ else 11  # centre of the shackle's bow
    bow = (ellipse(13.0, cy, 7.0) - ellipse(13.0, cy, 4.0)) & rect(0, 0, 25, cy - 1)
    legs = rect(6, cy, 8, 12) | rect(17, cy, 19, cy + 1 if open_ else 12)
    shape(img, bow | legs, LIGHT)
    shape(img, rounded(4, 12, 21, 23, 2), ORANGE, light=GOLD, dark=DEEP)
    img.art(11, 15, """
.kk.
kkkk
kkkk
.kk.
.kk.
kkkk
""")
    return img


def tool_alphabet():
    """The first letters of the alphabet on a card."""
    img = Image(26, 26)
    letters = """
...kk.....kkkkkkk
..kkkk....kkkkkkk
..kkkk....kk.....
.kk..kk...kk.....
.kk..kk...kkkkkk.
.kk..kk...kkkkkkk
kkkkkkkk..kk...kk
kkkkkkkk..kk...kk
kk....kk..kk...kk
kk....kk..kkkkkkk
kk....kk..kkkkkk.
"""
    shape(img, rounded(2, 3, 22, 22, 2.5), WHITE, light=WHITE, dark=LIGHT)
    img.box(3, 18, 21, 21, ORANGE)
    img.art(5, 5, letters)
    img.box(3, 17, 21, 17, BLACK)
    return img


def tool_graph():
    """Letter frequencies as bars on two axes."""
    img = Image(26, 26)
    heights = [11, 17, 8, 14, 5]
    for i, h in enumerate(heights):
        x0 = 5 + i * 3
        shape(img, rect(x0, 21 - h, x0 + 3, 21), ORANGE if i % 2 == 0 else GOLD)
    img.box(3, 3, 3, 22, BLACK)
    img.box(3, 22, 22, 22, BLACK)
    img.put(2, 4, BLACK)
    img.put(4, 4, BLACK)
    img.put(21, 21, BLACK)
    img.put(21, 23, BLACK)
    return img


def tool_bigrams():
    """The table of letter pairs."""
    img = Image(26, 26)
    cells = [  # a 4 x 4 table: header row and column, counts shaded by size
        [DEEP, ORANGE, ORANGE, ORANGE],
        [ORANGE, WHITE, GOLD, WHITE],
        [ORANGE, LIGHT, WHITE, DEEP],
        [ORANGE, WHITE, LIGHT, WHITE],
    ]
    for r, row in enumerate(cells):
        for c, colour in enumerate(row):
            img.box(3 + c * 5, 3 + r * 5, 7 + c * 5, 7 + r * 5, colour)
    for i in range(5):
        img.box(2 + i * 5, 2, 2 + i * 5, 22, BLACK)
        img.box(2, 2 + i * 5, 22, 2 + i * 5, BLACK)
    return img


def tool_info():
    """The information sign."""
    img = Image(26, 26)
    shape(img, ellipse(12.5, 12.5, 9.7), GOLD, light=LIGHT, dark=DEEP)
    img.art(10, 6, """
.kkk.
.kkk.
.kkk.
.....
kkkk.
.kkk.
.kkk.
.kkk.
.kkk.
.kkk.
kkkkk
""")
    return img


def tool_solve():
    """A key with a spark: the program proposes the key."""
    img = Image(26, 26)
    bow = ellipse(7.0, 14.0, 5.6) - ellipse(7.0, 14.0, 2.2)
    shaft = rect(12, 12, 23, 15) | rect(17, 16, 18, 19) | rect(21, 16, 22, 20)
    shape(img, bow | shaft, GOLD, light=LIGHT, dark=DEEP)
    img.art(14, 1, """
...k...
...w...
..kwk..
kwwwwwk
..kwk..
...w...
...k...
""")
    return img


def tool_hint():
    """A lit bulb: the program gives away one letter."""
    img = Image(26, 26)
    glass = ellipse(12.5, 10.0, 6.8) | rect(9, 14, 16, 18)
    shape(img, glass, GOLD, light=LIGHT, dark=DEEP)
    img.box(9, 19, 16, 20, BROWN)
    img.box(10, 21, 15, 22, BROWN)
    img.box(11, 23, 14, 23, BLACK)
    img.art(10, 6, """
k...k
.k.k.
..k..
..k..
""")
    for x, y in ((3, 4), (22, 4), (2, 11), (23, 11), (5, 1), (20, 1)):
        img.put(x, y, BLACK)
    return img


def toolbar():
    return {
        "btnLoad": tool_open(),
        "btnSave": tool_save(),
        "btnNew": tool_clear(),
        "btnFind": tool_find(),
        "btnLocked": padlock(False),
        "btnAlph": tool_alphabet(),
        "btnUnLocked": padlock(True),
        "btnGraph": tool_graph(),
        "btnDbl": tool_bigrams(),
        "btnInfo": tool_info(),
        "btnSolve": tool_solve(),
        "btnHint": tool_hint(),
    }


# ---- menu ------------------------------------------------------------------------------------
# 16 x 16 on magenta, shown on the orange icon column or the white-to-orange highlight, so the
# pictures are light with black outlines.

def menu_open():
    img = Image(16, 16)
    shape(img, rect(1, 3, 5, 5) | rect(1, 4, 12, 13), ORANGE)
    shape(img, polygon([(4, 7), (15, 7), (12, 14), (1, 14)]), LIGHT)
    return img


def menu_save():
    img = Image(16, 16)
    shape(img, polygon([(1, 1), (12, 1), (15, 4), (15, 15), (1, 15)]), LIGHT)
    shape(img, rect(4, 1, 11, 6), WHITE)
    img.box(8, 2, 9, 5, BLACK)
    shape(img, rect(3, 9, 13, 14), WHITE)
    img.box(5, 11, 11, 11, ORANGE)
    img.box(5, 13, 11, 13, ORANGE)
    img.box(3, 14, 13, 14, BLACK)
    return img


def menu_checked():
    img = Image(16, 16)
    img.art(2, 3, """
..........kk
.........kkk
........kkk.
.......kkk..
kk....kkk...
kkk..kkk....
.kkkkkk.....
..kkkk......
...kk.......
""")
    return img


def menu_radio(checked):
    img = Image(16, 16)
    shape(img, ellipse(8.0, 8.0, 6.2), WHITE, light=WHITE, dark=LIGHT)
    if checked:
        img.paint(ellipse(8.0, 8.0, 3.2), BLACK)
    return img


def menu_web():
    img = Image(16, 16)
    globe = ellipse(8.0, 8.0, 7.2)
    shape(img, globe, WHITE, light=WHITE, dark=LIGHT)
    inside = globe - border(globe)
    img.paint(border(ellipse(8.0, 8.0, 3.4, 7.2)) & inside, BLACK)
    img.paint((rect(1, 5, 14, 5) | rect(1, 10, 14, 10)) & inside, BLACK)
    return img


def menu():
    return {
        "mnuLoad": menu_open(),
        "mnuSave": menu_save(),
        "mnuChecked": menu_checked(),
        "mnuRadio": menu_radio(False),
        "mnuRadioChecked": menu_radio(True),
        "mnuWeb": menu_web(),
    }


# ---- hand cursor and icon --------------------------------------------------------------------

HAND = """
.....kk..........
....kwlk.........
....kwlk.........
....kwlk.........
....kwlk.........
....kwlkkk.......
....kwlkwlkkk....
....kwlkwlkwlkkk.
.kk.kwlkwlkwlkwlk
kwlkkwlkwlkwlkwlk
kwllkwwwwwwwwwwlk
kwwlwwwwwwwwwwwlk
kwwwwwwwwwwwwwwlk
.kwwwwwwwwwwwwwlk
.kwwwwwwwwwwwwwlk
..kwwwwwwwwwwwwlk
..kwwwwwwwwwwwlk.
...kwwwwwwwwwwlk.
...kwwwwwwwwwwlk.
...kkkkkkkkkkkkk.
...koooooooooook.
...kkkkkkkkkkkkk.
"""
HAND_AT = (4, 1)
HOTSPOT = (HAND_AT[0] + 5, HAND_AT[1])  # the top of the index finger


def hand_cursor():
    img = Image(32, 32)
    img.art(HAND_AT[0], HAND_AT[1], HAND)
    return img


BOLD_LETTERS = {
    "А": """
..kkk..
.kkkkk.
.kk.kk.
kk...kk
kk...kk
kk...kk
kkkkkkk
kkkkkkk
kk...kk
kk...kk
""",
    "Я": """
.kkkkkk
kkkkkkk
kk...kk
kk...kk
kkkkkkk
.kkkkkk
..kkkkk
.kkk.kk
kkk..kk
kk...kk
""",
}


def scaled_art(text, factor):
    rows = text.strip("\n").split("\n")
    return "\n".join("".join(ch * factor for ch in row) for row in rows for _ in range(factor))


def letter_tile(img, x0, y0, size, fill_top, fill_bottom, letter):
    tile = rounded(x0, y0, x0 + size - 1, y0 + size - 1, max(1.5, size / 7))
    rows_gradient(img, tile, fill_top, fill_bottom)
    inner = tile - border(tile)
    img.paint({(x, y) for x, y in border(inner) if y < y0 + size / 2}, WHITE)
    img.paint(border(tile), BLACK)
    if letter is None:
        return
    art = scaled_art(BOLD_LETTERS[letter], 2 if size > 24 else 1)
    rows = art.strip("\n").split("\n")
    w, h = len(rows[0]), len(rows)
    img.art(x0 + (size - w + 1) // 2, y0 + (size - h + 1) // 2, art)


def app_icon(size):
    """Substitution: the light card "Я" laid over the orange card "А" that it replaces. At 16
    pixels only the edge of the orange card shows."""
    img = Image(size, size)
    tile = {16: 13, 32: 20, 48: 29}[size]
    letter_tile(img, 0, 0, tile, GOLD, DEEP, "А" if size > 16 else None)
    letter_tile(img, size - tile, size - tile, tile, WHITE, AMBER, "Я")
    return img


ICON_SIZES = (16, 32, 48)


# ---- file formats ----------------------------------------------------------------------------

def bmp_bytes(img):
    """24-bit bottom-up BMP."""
    stride = (img.width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(img.rows):
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        data += line + b"\0" * (stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, img.width, img.height, 1, 24, 0, len(data),
                       2835, 2835, 0, 0)
    return header + info + bytes(data)


def dib_with_mask(img):
    """The image part of an icon or cursor: 32-bit colour with alpha, then the AND mask, both
    bottom-up; magenta pixels are fully transparent in both, so old and new readers agree."""
    w, h = img.width, img.height
    colour = bytearray()
    for row in reversed(img.rows):
        for c in row:
            colour += b"\0\0\0\0" if c == MAGENTA else bytes((c[2], c[1], c[0], 255))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(img.rows):
        line = bytearray(mask_stride)
        for x, c in enumerate(row):
            if c == MAGENTA:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(colour) + len(mask),
                       0, 0, 0, 0)
    return info + bytes(colour) + bytes(mask)


def icon_file_bytes(images, kind, hotspot=(0, 0)):
    """An .ico (kind 1) or .cur (kind 2) file; a cursor entry stores its hotspot where an icon
    entry stores planes and bit count."""
    blobs = [dib_with_mask(img) for img in images]
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    for img, blob in zip(images, blobs):
        a, b = (1, 32) if kind == 1 else hotspot
        out += struct.pack("<BBBBHHII", img.width % 256, img.height % 256, 0, 0, a, b,
                           len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def png_bytes(img):
    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data
                + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + b"".join(bytes(c) for c in row) for row in img.rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", img.width, img.height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# ---- all resources ---------------------------------------------------------------------------

def bitmaps():
    out = {}
    out.update(frame_pieces())
    for name in CAPTION_GLYPHS:
        out[name] = caption_button(name, False)
        out[name + "_p"] = caption_button(name, True)
    out.update(scroll_pieces())
    out.update(toolbar())
    out.update(menu())
    return out


def resource_files():
    """File name -> bytes, for every file the resource script compiles."""
    files = {name + ".bmp": bmp_bytes(img) for name, img in bitmaps().items()}
    files["chand.cur"] = icon_file_bytes([hand_cursor()], 2, HOTSPOT)
    files["zam.ico"] = icon_file_bytes([app_icon(s) for s in ICON_SIZES], 1)
    return files


def script_files():
    """The file names that zamenor.rc refers to."""
    with open(os.path.join(HERE, "zamenor.rc"), encoding="ascii") as f:
        return set(re.findall(r'^\s*\w+\s+(?:BITMAP|CURSOR|ICON)\s+"([^"]+)"', f.read(), re.M))


# ---- preview ---------------------------------------------------------------------------------

def mock_window():
    """A main window as the program composes it: frame, caption, caption buttons (the close
    button hovered), toolbar (one hovered, one pressed), a popup menu, scroll bars, and the
    hand cursor over a black graph."""
    bmp = bitmaps()
    W, H = 356, 230
    img = Image(W, H, AMBER)
    pieces = [("fb_l", 0, 3, 3, H - 6), ("fb_r", W - 3, 3, 3, H - 6), ("fb_t", 3, 0, W - 6, 3),
              ("fb_b", 3, H - 3, W - 6, 3), ("fb_tr", W - 3, 0, 3, 3), ("fb_tl", 0, 0, 3, 3),
              ("fb_bl", 0, H - 3, 3, 3), ("fb_br", W - 3, H - 3, 3, 3)]
    for name, x, y, w, h in pieces:
        img.stretch(bmp[name], x, y, w, h)
    img.box(3, 3, W - 4, 23, ORANGE)
    img.paste(app_icon(16), 6, 6)
    for i in range(7):  # stand-in for the caption text
        img.box(25 + i * 9, 9, 31 + i * 9, 18, BLACK)
    for name, x in (("btnClose", W - 22), ("btnMax", W - 41), ("btnMin", W - 60)):
        hovered = name == "btnClose"
        img.box(x, 5, x + 16, 21, HOVER if hovered else AMBER)
        img.paste(bmp[name + ("_p" if hovered else "")], x + 2, 7)
    # Toolbar one pixel below a 21-pixel menu bar.
    top = 24 + 22
    lefts = [18, 44, 78, 113, 148, 174, 200, 234, 260, 286, 320]
    names = ["btnLoad", "btnSave", "btnNew", "btnFind", "btnLocked", "btnAlph", "btnUnLocked",
             "btnGraph", "btnDbl", "btnInfo", "btnSolve"]
    for i, (x, name) in enumerate(zip(lefts, names)):
        colour, shift = (HOVER, 0) if i == 3 else (ORANGE, 2) if i == 7 else (AMBER, 0)
        img.box(x, top, x + 25, top + 25, colour)
        tile = Image(26, 26, colour)
        tile.paste(bmp[name], shift, shift)
        img.paste(tile, x, top)
    # Popup menu: icon column, items of 22 pixels, the third highlighted.
    mx, my, mw = 12, 84, 150
    items = ["mnuLoad", "mnuSave", "mnuChecked", "mnuRadio", "mnuRadioChecked", "mnuWeb"]
    img.box(mx - 1, my - 1, mx + mw, my + 22 * len(items), BLACK)
    for i, name in enumerate(items):
        y = my + i * 22
        if i == 2:
            for yy in range(22):
                for xx in range(mw):
                    t = int(512 * (yy / 22 + xx / mw))
                    img.put(mx + xx, y + yy, tuple(
                        a + (b - a) * t // 1024 for a, b in zip(WHITE, (255, 119, 0))))
            img.box(mx, y, mx + mw - 1, y, BLACK)
            img.box(mx, y + 21, mx + mw - 1, y + 21, BLACK)
            img.box(mx, y, mx, y + 21, BLACK)
            img.box(mx + mw - 1, y, mx + mw - 1, y + 21, BLACK)
        else:
            img.box(mx, y, mx + mw - 1, y + 21, AMBER)
            img.box(mx, y, mx + 23, y + 21, ORANGE)
        img.paste(bmp[name], mx + 5, y + 3)
        for j in range(5):
            img.box(mx + 30 + j * 8, y + 8, mx + 35 + j * 8, y + 14, BLACK)
    # A white viewport with a vertical and a horizontal bar, one arrow pressed.
    vx, vy, vw, vh = 176, 84, 100, 100
    img.box(vx, vy, vx + vw - 1, vy + vh - 1, WHITE)
    img.paste(bmp["sbbtn"], vx + vw, vy)
    img.paste(bmp["sbbtn_p"], vx + vw, vy + vh - 16)
    img.box(vx + vw, vy + 16, vx + vw + 15, vy + vh - 17, CREAM)
    s, t = 20, 30
    img.stretch(bmp["sbv_m"], vx + vw, vy + 16 + s, 16, t)
    img.paste(bmp["sbv_t"], vx + vw, vy + 16 + s)
    img.paste(bmp["sbv_b"], vx + vw, vy + 16 + s + t - 2)
    img.paste(bmp["sbbtn"], vx, vy + vh)
    img.paste(bmp["sbbtn"], vx + vw - 16, vy + vh)
    img.box(vx + 16, vy + vh, vx + vw - 17, vy + vh + 15, CREAM)
    s, t = 40, 50
    img.stretch(bmp["sbh_m"], vx + 16 + s, vy + vh, t, 16)
    img.paste(bmp["sbh_l"], vx + 16 + s, vy + vh)
    img.paste(bmp["sbh_r"], vx + 16 + s + t - 2, vy + vh)
    img.box(W - 42, 84, W - 8, 130, BLACK)
    img.paste(hand_cursor(), W - 38, 88)
    img.paste(hand_cursor(), W - 38, 140)
    return img


def preview(path):
    bmp = bitmaps()
    groups = [
        ([n for n in bmp if n.startswith("fb_")], 16),
        ([n for n in bmp if n.startswith("btn") and len(bmp[n].rows) == 13], 8),
        ([n for n in bmp if n.startswith("sb")], 8),
        ([n for n in bmp if bmp[n].width == 26], 6),
        ([n for n in bmp if n.startswith("mnu")], 8),
    ]
    extra = [hand_cursor()] + [app_icon(s) for s in ICON_SIZES]
    tiles = [[bmp[n].scaled(f) for n in names] for names, f in groups]
    tiles.append([img.scaled(f) for img, f in zip(extra, (6, 8, 6, 4))])
    mock = mock_window().scaled(3)
    gap = 12
    width = max(mock.width, max(sum(t.width + gap for t in row) for row in tiles)) + gap
    height = mock.height + gap * 2 + sum(max(t.height for t in row) + gap for row in tiles)
    sheet = Image(width, height, (96, 96, 96))
    sheet.paste(mock, gap, gap, key=None)
    y = mock.height + gap * 2
    for row, (names, _) in zip(tiles, groups + [(["hand", "icons"], 0)]):
        x = gap
        for t in row:
            sheet.paste(t, x, y, key=None)
            x += t.width + gap
        print("row at y=%d: %s" % (y, " ".join(names)))
        y += max(t.height for t in row) + gap
    with open(path, "wb") as f:
        f.write(png_bytes(sheet))


# ---- command line ----------------------------------------------------------------------------

def write(directory, files):
    for name, data in sorted(files.items()):
        with open(os.path.join(directory, name), "wb") as f:
            f.write(data)


def check(files):
    """True when every file on disk equals a fresh build of it and the script lists them all."""
    ok = True
    with tempfile.TemporaryDirectory() as tmp:
        write(tmp, files)
        for name in sorted(files):
            try:
                with open(os.path.join(HERE, name), "rb") as f:
                    committed = f.read()
            except OSError:
                committed = None
            with open(os.path.join(tmp, name), "rb") as f:
                fresh = f.read()
            if committed != fresh:
                print("%s: %s" % (name, "missing" if committed is None else "differs"))
                ok = False
    try:
        listed = script_files()
    except OSError as error:
        print("zamenor.rc: %s" % error)
        return False
    for name in sorted(set(files) ^ listed):
        print("%s: %s" % (name, "not in zamenor.rc" if name in files else "not generated"))
        ok = False
    return ok


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--check", action="store_true",
                        help="compare with the files in resources/ instead of writing")
    parser.add_argument("--preview", metavar="PNG", help="also write an enlarged preview sheet")
    args = parser.parse_args(argv)
    files = resource_files()
    if args.check:
        if not check(files):
            print("resources are out of date: run python3 resources/generate.py")
            return 1
        return 0
    write(HERE, files)
    if args.preview:
        preview(args.preview)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
