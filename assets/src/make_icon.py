#!/usr/bin/python3
"""Draws the program icon, pixel by pixel, at each size it is shown at.

Writes into assets/:

  icon-16.png ... icon-48.png  the icon drawn for 16, 22, 24, 32 and 48
                               pixels: indexed PNGs sharing one palette,
                               with one fully transparent entry and every
                               other pixel opaque
  icon.svg                     the scalable icon for the icon theme: the
                               same figure as a vector drawing with smooth
                               shapes and outlines, for 64 pixels and up
  pokomoji.ico                 the Windows icon resource: first the
                               32-pixel drawing, then the 16, 24 and
                               48-pixel ones, each 8 bits per pixel with a
                               256-entry palette and a 1-bit transparency
                               mask, and last icon.svg rendered at 256
                               pixels as a PNG, so that Explorer, the Start
                               menu and shortcuts show an image made for
                               each size they use

The figure is a sky-blue soft box with a black pixel outline, shaded from
pale above to deeper below, with two eyes, a wide grin, a pencil held up in
its left hand (the viewer's left), its other hand raised, a small violet
ring low on its body and a grey shadow beneath.  Each size has its own
hand-chosen geometry below, so that small sizes keep the eyes, the grin and
the pencil apart instead of blurring them; no size is scaled from another.

Run with Debian's interpreter, which has python3-pil, giving it the
build's svg2png, which renders SVG with Qt's own renderer:
    /usr/bin/python3 assets/src/make_icon.py build/ui/svg2png
"""

import io
import os
import struct
import subprocess
import sys
import tempfile

from PIL import Image

from svgdoc import num, svg, write

# One palette for every size and for the .ico. Index 0 is the transparent
# entry; the rest are opaque.
PALETTE = [
    (" ", (0, 0, 0)),            # transparent
    ("K", (0, 0, 0)),            # outline
    ("W", (255, 255, 255)),      # eye whites, teeth, highlight
    ("0", (222, 244, 255)),      # body, palest (top) ...
    ("1", (190, 232, 253)),
    ("2", (156, 217, 249)),
    ("3", (120, 200, 244)),
    ("4", (86, 180, 237)),
    ("5", (58, 157, 226)),       # ... deepest (bottom)
    ("m", (74, 18, 34)),         # inside of the grin
    ("r", (232, 80, 96)),        # tongue
    ("o", (255, 160, 48)),       # hands
    ("O", (222, 112, 20)),       # hands, shaded side
    ("g", (52, 176, 72)),        # pencil shaft
    ("G", (150, 226, 120)),      # pencil shaft, lit side
    ("t", (248, 226, 176)),      # pencil's pale wooden tip
    ("L", (64, 64, 72)),         # pencil lead
    ("v", (92, 40, 140)),        # violet ring
    ("s", (140, 140, 140)),      # shadow
    ("S", (184, 184, 184)),      # shadow, soft ends
]
INDEX = {name: i for i, (name, _) in enumerate(PALETTE)}
BODY_SHADES = "012345"


# Per size, in pixels (x to the right, y down):
#   body    the soft box, either as a polygon with corners on pixel edges
#           (a pixel belongs to it when its centre lies inside) or as its
#           first row and the first and last pixel of each row.  Its edge
#           pixels are the black outline, the rest is shaded by row, pale
#           to deep.
#   shades  the body's shades from top to bottom, if not all of them
#   shadow  (centre x, centre y, half width, half height) of the grey
#           ellipse on the ground; its outermost pixels are lighter.
#   parts   stamps drawn over the body in order: (left, top, rows).  In a
#           stamp '.' leaves the pixel below as it is; every other
#           character names a palette entry.
SIZES = {}


def pencil(tip, shaft, length):
    """A pencil standing up: its tip rows, a black collar, length rows of
    shaft and a black end."""
    edge = "K" * len(shaft)
    return tip + [edge] + [shaft] * length + [edge]


# Parts the 22- and 24-pixel drawings share.
EYE_SMALL = [".KK.", "KWWK", "KWKK", "KWKK", ".KK."]
FIST_SMALL = ["KKKKK.",
              "KooooK",
              "KKKKoo",
              "KooooK",
              ".KOOK."]
RING_SMALL = [".v.", "v.v", ".v."]

SIZES[48] = dict(
    body=[(11, 14), (12.5, 10.5), (16, 9), (35, 6), (38, 6), (40, 7), (41.5, 10), (42.5, 24),
          (41.5, 38), (40, 41), (37, 42), (15, 42), (12, 41), (11, 38), (10.5, 18)],
    shadow=(26.5, 44.4, 16.5, 2.7),
    parts=[
        (1, 0, pencil(["...KK...",
                       "...LL...",
                       "..KLLK..",
                       "..KttK..",
                       ".KttttK.",
                       ".KttttK.",
                       "KttttttK",
                       "KttttttK"], "KGGggggK", 25)),
        (0, 18, [".KKKKKKKK...",
                 "KooooooooK..",
                 "KKKKKKKKoKK.",
                 "KooooooooKoK",
                 "KKKKKKKKoKoK",
                 "KooooooooKoK",
                 "KKKKKKKKooK.",
                 "KooooooooooK",
                 ".KOOOOOOOOK.",
                 "..KKKKKKKK.."]),
        (14, 11, [".WWW", "W..."]),
        (17, 14, ["..KKK..",
                  ".KWWWK.",
                  "KWWWWWK",
                  "KWWWWWK",
                  "KWWKKKK",
                  "KWWKKKK",
                  "KWWKKKK",
                  ".KWWWK.",
                  "..KKK.."]),
        (27, 12, ["..KKK..",
                  ".KWWWK.",
                  "KWWWWWK",
                  "KWWWWWK",
                  "KWWKKKK",
                  "KWWKKKK",
                  "KWWKKKK",
                  ".KWWWK.",
                  "..KKK.."]),
        (16, 25, ["KKKKKKKKKKKKKKKKKKK",
                  "KWWWWWWWWWWWWWWWWWK",
                  "KmmmmmmmmmmmmmmmmmK",
                  ".KmmmmmmmmmmmmmmmK.",
                  ".KmmmmmmmmmmmmmmmK.",
                  "..KmmmmmrrrrrmmmK..",
                  "...KmmrrrrrrrrmK...",
                  "....KKrrrrrrrKK....",
                  "......KKKKKKK......"]),
        (14, 34, [".vvvv.",
                  "vv..vv",
                  "v....v",
                  "v....v",
                  "vv..vv",
                  ".vvvv."]),
        (35, 0, ["....KK.KK....",
                 "...KooKooK...",
                 "...KooKooKKK.",
                 ".K.KooKooKooK",
                 "KoKKooooooooK",
                 "KooKoooooooK.",
                 ".KooooooooOK.",
                 "..KooooooOK..",
                 "...KOOOOOK...",
                 "....KooooK...",
                 "....KooooK...",
                 "....KooooK...",
                 "....KooooK..."]),
    ],
)
SIZES[32] = dict(
    body=[(7, 9), (8, 7), (10, 6), (23, 4), (25, 4), (26.5, 5.5), (27.5, 10), (28, 16),
          (27.5, 23), (26.5, 27), (24.5, 28), (9.5, 28), (7.5, 27), (6.5, 24), (6.5, 12)],
    shadow=(17.5, 29.5, 11.5, 1.8),
    parts=[
        # pencil, held up on the viewer's left
        (1, 0, pencil(["..K..",
                       ".KLK.",
                       ".KtK.",
                       "KtttK",
                       "KtttK"], "KGggK", 12)),
        # the hand round it, reaching in from the body
        (0, 11, [".KKKKK..",
                 "KoooooKK",
                 "KKKKKoKo",
                 "KoooooKo",
                 "KKKKKoK.",
                 ".KoooK..",
                 "..KKK..."]),
        # eyes
        (10, 9, [".KKK.",
                 "KWWWK",
                 "KWWWK",
                 "KWKKK",
                 "KWKKK",
                 ".KKK."]),
        (17, 8, [".KKK.",
                 "KWWWK",
                 "KWWWK",
                 "KWKKK",
                 "KWKKK",
                 ".KKK."]),
        # grin
        (10, 16, ["KKKKKKKKKKKKK",
                  "KWWWWWWWWWWWK",
                  "KmmmmmmmmmmmK",
                  ".KmmmmmmmmmK.",
                  ".KmmmrrrmmmK.",
                  "..KKmrrrmKK..",
                  "....KKKKK...."]),
        # violet ring
        (9, 23, [".vv.",
                 "v..v",
                 "v..v",
                 ".vv."]),
        # raised hand on the viewer's right, on a short arm
        (23, 0, ["...K.K...",
                 "..KoKoKK.",
                 "..KoKoKoK",
                 ".KKoooooK",
                 "KoKoooooK",
                 "KooooooK.",
                 ".KOOOOK..",
                 "..KooK...",
                 "..KooK...",
                 "..KooK..."]),
    ],
)
SIZES[24] = dict(
    body=(3, [(10, 17), (7, 20), (6, 20), (5, 20), (5, 21), (5, 21), (5, 21), (5, 21),
              (5, 21), (5, 21), (5, 21), (5, 21), (5, 21), (5, 20), (5, 20), (5, 20),
              (6, 20), (7, 19)]),
    shades="012345",
    shadow=(13, 22.2, 9, 1.5),
    parts=[
        (0, 0, pencil([".LL.", "KttK", "KttK", "KttK"], "KGgK", 9)),
        (0, 8, FIST_SMALL),
        (8, 7, EYE_SMALL),
        (13, 6, EYE_SMALL),
        (8, 13, ["KKKKKKKKKK",
                 "KWWWWWWWWK",
                 ".KmmmmmmK.",
                 ".KmmrrmmK.",
                 "..KKKKKK.."]),
        (7, 17, RING_SMALL),
        (18, 0, ["..K.K.K",
                 ".KoKoKo",
                 ".KoooooK",
                 "KoKoooK",
                 "KooooK",
                 ".KOOK",
                 "..Ko",
                 "..Ko"]),
    ],
)
SIZES[22] = dict(
    body=(3, [(9, 15), (7, 16), (6, 17), (5, 18), (5, 19), (5, 19), (5, 19), (5, 19),
              (5, 19), (5, 19), (5, 19), (5, 19), (5, 18), (5, 18), (6, 18), (7, 17)]),
    shades="012345",
    shadow=(12.5, 20.3, 8.5, 1.4),
    parts=[
        (0, 0, pencil([".LL.", "KttK", "KttK"], "KGgK", 8)),
        (0, 7, FIST_SMALL),
        (7, 6, EYE_SMALL),
        (12, 5, EYE_SMALL),
        (7, 12, ["KKKKKKKKKK",
                 "KWWWWWWWWK",
                 ".KmmrrmmK.",
                 "..KKKKKK.."]),
        (6, 15, RING_SMALL),
        (15, 0, ["..K.K..",
                 ".KoKoKK",
                 ".Kooooo",
                 "KoKoooK",
                 "KooooK.",
                 ".KOOK..",
                 "..Ko...",
                 "..Ko..."]),
    ],
)
SIZES[16] = dict(
    # rows 1..13: the top steps up to the right, the right side bulges
    body=(1, [(7, 11), (4, 12), (3, 12), (3, 12), (3, 12), (3, 13), (3, 13), (3, 13),
              (3, 13), (3, 13), (3, 12), (3, 12), (4, 11)]),
    shades="2345",
    shadow=(8.5, 14.9, 6.6, 1.2),
    parts=[
        (0, 0, [".L.",
                "KtK",
                "KtK",
                "KgK",
                "KgK",
                "KgK",
                "oooo",
                "oooo",
                "KgK",
                "KgK",
                "KKK"]),
        (5, 4, ["WW", "WK", "WK"]),
        (9, 3, ["WW", "WK", "WK"]),
        (5, 8, ["K....K",
                "mmmmmm",
                ".mrrm."]),
        (4, 11, ["vv", "vv"]),
        (13, 0, ["o..",
                 "oKo",
                 "ooo",
                 "ooO",
                 ".o.",
                 "o..",
                 "o.."]),
    ],
)


class Canvas:
    """A square of palette indices; index 0 is transparent."""

    def __init__(self, size):
        self.size = size
        self.px = [[0] * size for _ in range(size)]

    def set(self, x, y, key):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = INDEX[key]

    def shadow(self, cx, cy, rx, ry):
        for y in range(self.size):
            for x in range(self.size):
                d = ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2
                if d <= 1.0:
                    self.set(x, y, "s" if d <= 0.55 else "S")

    def body(self, shape, shades):
        """shape is a polygon, or (first row, [(left, right) of each row])."""
        if isinstance(shape, tuple):
            first, spans = shape
            inside = {(x, first + i) for i, (x0, x1) in enumerate(spans)
                      for x in range(x0, x1 + 1)}
        else:
            inside = {(x, y) for y in range(self.size) for x in range(self.size)
                      if contains(shape, x + 0.5, y + 0.5)}
        top = min(y for _, y in inside)
        bottom = max(y for _, y in inside)
        for (x, y) in inside:
            edge = any((x + dx, y + dy) not in inside
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            if edge:
                self.set(x, y, "K")
            else:
                shade = (y - top - 1) * len(shades) // max(1, bottom - top - 1)
                self.set(x, y, shades[min(max(shade, 0), len(shades) - 1)])

    def stamp(self, left, top, rows):
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch != ".":
                    self.set(left + dx, top + dy, ch)


def contains(poly, x, y):
    """Even-odd test of the point (x, y) against a closed polygon."""
    inside = False
    n = len(poly)
    for i in range(n):
        x1, y1 = poly[i]
        x2, y2 = poly[(i + 1) % n]
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


def draw(size):
    plan = SIZES[size]
    canvas = Canvas(size)
    canvas.shadow(*plan["shadow"])
    canvas.body(plan["body"], plan.get("shades", BODY_SHADES))
    for left, top, rows in plan["parts"]:
        canvas.stamp(left, top, rows)
    return canvas.px


def flat_palette():
    return [c for _, rgb in PALETTE for c in rgb]


def png(px):
    """An indexed PNG whose index 0 is fully transparent, all else opaque."""
    size = len(px)
    image = Image.new("P", (size, size))
    image.putpalette(flat_palette())
    image.putdata([i for row in px for i in row])
    out = io.BytesIO()
    image.save(out, format="PNG", transparency=0, optimize=False)
    return out.getvalue()


# The Windows icon's images: the program file's first image stays the
# 32-pixel one, the others follow by size.
ICO_SIZES = (32, 16, 24, 48)


def dib(px):
    """One icon image: 8 bits per pixel, 256-entry palette, 1-bit mask."""
    size = len(px)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for _, (r, g, b) in PALETTE)
    palette += b"\0" * (4 * 256 - len(palette))
    # Rows are stored bottom-up. Transparent pixels carry the outline's
    # index under a set mask bit, so they add no colour of their own.
    xor = b"".join(bytes(i if i else INDEX["K"] for i in row) for row in reversed(px))
    mask_row = (size + 31) // 32 * 4
    mask = b""
    for row in reversed(px):
        bits = 0
        for x, i in enumerate(row):
            if i == 0:
                bits |= 1 << (mask_row * 8 - 1 - x)
        mask += bits.to_bytes(mask_row, "big")
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 8, 0,
                         len(xor) + len(mask), 0, 0, 256, 0)
    return header + palette + xor + mask


def ico(drawings, large_png):
    """The icon file: the drawn images, then a 256-pixel PNG (stored as 0 x 0,
    32 bits per pixel, as Windows reads it)."""
    images = [(size, 8, dib(drawings[size])) for size in ICO_SIZES]
    images.append((256, 32, large_png))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bits, len(data),
                                 offset)
        offset += len(data)
    return directory + b"".join(data for _, _, data in images)


def render(svg2png, svg, size):
    """An SVG of the 32-unit icon square rendered at a size, as PNG bytes."""
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "icon.png")
        subprocess.run([svg2png, svg, out, str(size / 32)], check=True)
        with open(out, "rb") as f:
            return f.read()


def colour(name):
    return "#%02x%02x%02x" % dict(PALETTE)[name]


def vector():
    """The figure as a vector drawing on the 32-unit square of the 32-pixel
    icon: the same parts in the same places, as smooth shapes with black
    outlines, so that it reads well at any size from 64 pixels up."""
    k = colour("K")
    line = 'stroke="%s" stroke-width="0.8" stroke-linejoin="round" stroke-linecap="round"' % k
    thin = 'stroke="%s" stroke-width="0.55" stroke-linecap="round" fill="none"' % k
    parts = []
    # The grey shadow on the ground, softer at its ends.
    parts.append('<ellipse cx="17.5" cy="29.7" rx="11.6" ry="1.7" fill="%s"/>' % colour("S"))
    parts.append('<ellipse cx="17.5" cy="29.7" rx="8.6" ry="1.25" fill="%s"/>' % colour("s"))
    # The raised hand on the viewer's right, on a short arm behind the body.
    parts.append('<path d="M24.2 9.5 L25 5.2 L27.6 5.6 L27 9.8 Z" fill="%s" %s/>'
                 % (colour("o"), line))
    parts.append(
        '<path d="M24.4 6.4 C23.2 5.6 22.8 4.2 23.9 3.9 C24.7 3.7 25.2 4.6 25.6 5 '
        'L25.4 1.6 C25.4 0.6 26.8 0.6 26.9 1.6 L27.1 3.6 L27.3 1.1 C27.4 0.1 28.8 0.2 28.8 1.2 '
        'L28.7 3.8 L29.4 2.2 C29.8 1.3 31.1 1.7 30.8 2.7 L29.9 5.8 C29.5 7.3 28.4 7.9 27 7.8 '
        'C26 7.7 25.1 7.2 24.4 6.4 Z" fill="%s" %s/>' % (colour("o"), line))
    parts.append('<path d="M25.2 6.9 C26.4 7.7 28 7.8 29.3 6.9" %s stroke="%s"/>'
                 % (thin.replace('stroke="%s" ' % k, ""), colour("O")))
    # The body: a soft, slightly lopsided box, pale blue above, deeper below.
    parts.append(
        '<linearGradient id="body" x1="0" y1="4" x2="0" y2="28" gradientUnits="userSpaceOnUse">'
        '<stop offset="0" stop-color="%s"/><stop offset="0.35" stop-color="%s"/>'
        '<stop offset="0.7" stop-color="%s"/><stop offset="1" stop-color="%s"/>'
        '</linearGradient>' % (colour("0"), colour("2"), colour("4"), colour("5")))
    parts.append(
        '<path d="M7.6 8.2 C8.4 6.6 9.6 6.1 11.5 5.8 L22.6 4.3 C25.2 4 26.6 4.8 27.2 7.5 '
        'C27.9 11 28.1 16 27.8 21.5 C27.6 24.6 27.1 26.9 25.6 27.6 C24.6 28.1 23 28 21 28 '
        'L11 28 C8.9 28 7.6 27.6 7.1 25.8 C6.6 23.5 6.5 18 6.6 13.4 C6.7 11 7 9.4 7.6 8.2 Z" '
        'fill="url(#body)" %s/>' % line)
    # A white gleam along the top.
    parts.append('<path d="M9.4 8.4 C10 7.4 11 7.1 12.6 6.9 L16 6.5" stroke="%s" '
                 'stroke-width="0.7" stroke-linecap="round" fill="none"/>' % colour("W"))
    # Two white eyes, the pupils low towards the viewer's right.
    for cx, cy in ((12.5, 12), (19.5, 11)):
        parts.append('<ellipse cx="%s" cy="%s" rx="2.35" ry="2.85" fill="%s" %s/>'
                     % (num(cx), num(cy), colour("W"), line))
        parts.append('<ellipse cx="%s" cy="%s" rx="1.25" ry="1.45" fill="%s"/>'
                     % (num(cx + 0.8), num(cy + 1.1), k))
    # The wide grin: white teeth under the upper lip, a dark mouth, a tongue.
    grin = ("M10.3 16.5 L22.7 16.5 C22.9 19.8 20.4 22.8 16.5 22.8 "
            "C12.6 22.8 10.1 19.8 10.3 16.5 Z")
    parts.append('<path d="%s" fill="%s" %s/>' % (grin, colour("m"), line))
    parts.append('<path d="M10.5 16.9 L22.5 16.9 C22.5 17.4 22.4 17.8 22.3 18.1 L10.7 18.1 '
                 'C10.6 17.8 10.5 17.4 10.5 16.9 Z" fill="%s"/>' % colour("W"))
    parts.append('<path d="M13.6 22 C14 20.5 15.2 19.8 16.5 19.8 C17.8 19.8 19 20.5 19.4 22 '
                 'C18.6 22.5 17.6 22.8 16.5 22.8 C15.4 22.8 14.4 22.5 13.6 22 Z" fill="%s"/>'
                 % colour("r"))
    parts.append('<path d="%s" fill="none" %s/>' % (grin, line))
    # The small dark violet ring low on the body, towards the viewer's left.
    parts.append('<circle cx="11" cy="25" r="1.45" fill="none" stroke="%s" stroke-width="0.8"/>'
                 % colour("v"))
    # The green pencil held up on the viewer's left: pale wooden tip, dark
    # lead, a lit side on its shaft.
    parts.append('<path d="M1.6 5.2 L3.5 0.6 L5.4 5.2 Z" fill="%s" %s/>' % (colour("t"), line))
    parts.append('<path d="M2.9 2.1 L3.5 0.6 L4.1 2.1 Z" fill="%s"/>' % colour("L"))
    parts.append('<rect x="1.6" y="5.2" width="3.8" height="13.6" rx="0.4" fill="%s" %s/>'
                 % (colour("g"), line))
    parts.append('<rect x="2.2" y="5.8" width="1" height="12.4" fill="%s"/>' % colour("G"))
    # The fist round it, reaching in from the body.
    parts.append('<path d="M1 11.8 C1 11.1 1.5 10.8 2.2 10.8 L6.2 10.8 C7.2 10.8 7.8 11.4 8.3 12.3 '
                 'L8.6 13.6 L7.6 16.6 C7.2 17.3 6.6 17.6 5.8 17.6 L2.2 17.6 C1.5 17.6 1 17.2 1 16.5 Z" '
                 'fill="%s" %s/>' % (colour("o"), line))
    for y in (12.5, 14.1, 15.7):
        parts.append('<path d="M1.4 %s L6.2 %s" %s/>' % (num(y), num(y), thin))
    parts.append('<path d="M2 17.2 L6 17.2" stroke="%s" stroke-width="0.6" '
                 'stroke-linecap="round"/>' % colour("O"))
    return svg(32, 32, "\n".join(parts) + "\n", comment=(
        "  Program icon of ぽこもじ, drawn by assets/src/make_icon.py: the figure of\n"
        "  the small icons as a vector drawing on their 32-unit square."))


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py SVG2PNG (the build's ui/svg2png)")
    drawings = {size: draw(size) for size in sorted(SIZES)}
    for size, px in drawings.items():
        write("icon-%d.png" % size, png(px))
    path = write("icon.svg", vector())
    write("pokomoji.ico", ico(drawings, render(sys.argv[1], path, 256)))


if __name__ == "__main__":
    main()
