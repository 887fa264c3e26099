#!/usr/bin/python3
"""Draws the program icon, pixel by pixel, at each size it is shown at.

Writes into assets/:

  icon-16.png ... icon-48.png  the icon drawn for 16, 22, 24, 32 and 48
                               pixels: indexed PNGs sharing one palette,
                               with one fully transparent entry and every
                               other pixel opaque
  icon.svg                     the scalable icon for the icon theme: the
                               32-pixel drawing as filled squares
  pokomoji.ico                 the Windows icon resource: the 32-pixel
                               drawing, 8 bits per pixel with a 256-entry
                               palette and a 1-bit transparency mask

The figure is a sky-blue soft box with a black pixel outline, shaded from
pale above to deeper below, with two eyes, a wide grin, a pencil held up in
its left hand (the viewer's left), its other hand raised, a small violet
ring low on its body and a grey shadow beneath.  Each size has its own
hand-chosen geometry below, so that small sizes keep the eyes, the grin and
the pencil apart instead of blurring them; no size is scaled from another.

Run with Debian's interpreter, which has python3-pil:
    /usr/bin/python3 assets/src/make_icon.py
"""

import io
import struct

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


def ico(px):
    """A one-image Windows icon: 8 bits per pixel, 256-entry palette, 1-bit mask."""
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
    image = header + palette + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 8, len(image),
                        6 + 16)
    return directory + entry + image


def scalable(px, size):
    """The drawing as one path of unit squares per colour, on a size x size canvas."""
    n = len(px)
    k = size / n
    body = ""
    for index, (name, rgb) in enumerate(PALETTE):
        if index == 0:
            continue
        runs = []
        for y, row in enumerate(px):
            x = 0
            while x < n:
                if row[x] != index:
                    x += 1
                    continue
                start = x
                while x < n and row[x] == index:
                    x += 1
                runs.append("M%s %sh%sv%sh-%sz" % (num(start * k, 4), num(y * k, 4),
                                                    num((x - start) * k, 4), num(k, 4),
                                                    num((x - start) * k, 4)))
        if runs:
            body += '<path fill="#%02x%02x%02x" d="%s"/>\n' % (rgb + ("".join(runs),))
    return svg(size, size, body, comment=(
        "  Program icon of ぽこもじ, drawn by assets/src/make_icon.py from its\n"
        "  %d-pixel drawing." % n))


def main():
    drawings = {size: draw(size) for size in sorted(SIZES)}
    for size, px in drawings.items():
        write("icon-%d.png" % size, png(px))
    write("pokomoji.ico", ico(drawings[32]))
    # The 32-pixel drawing scales to whole pixels at 64, 96, 128 and 256,
    # the sizes the scalable icon is mostly shown at.
    write("icon.svg", scalable(drawings[32], 32))


if __name__ == "__main__":
    main()
