#!/usr/bin/python3
"""Draw the lettering pictures of the menu buttons and the window headings.

Writes five SVG files into assets/:

  menu_katakana.svg     290 x 86  button "カタカナ ど〜れ？" on pale yellow
  menu_hiragana.svg     290 x 87  button "ひらがな ど〜れ？" on pale yellow
  heading_katakana.svg  290 x 86  the same katakana lettering on white
  heading_hiragana.svg  290 x 87  the same hiragana lettering on white
  menu_end.svg          120 x 42  end button: open door and "おわる" on pink
  installer.svg         164 x 314 the Windows installer's welcome and finish
                                  picture: "ぽこもじ" in the same hand, the
                                  program icon (icon.svg, which make_icon.py
                                  writes) and both menu pictures

All lettering is turned into plain paths taken from fonts installed by
Debian packages (fonts-seto for the hand-drawn words, fonts-motoya-l-maruberi
for the rounded letters; SIL OFL 1.1 and Apache 2.0), so the pictures need
no font at run time.  The SVG uses only what Qt's QSvgRenderer (SVG Tiny
1.2) draws: paths, rects, groups, transforms, fills, strokes and opacity.
No randomness is used, so running the script again reproduces the files
byte for byte.

Run with Debian's interpreter, which has python3-fonttools:
    /usr/bin/python3 assets/src/make_lettering.py
"""

import logging
import math
import os

from fontTools.ttLib import TTFont
from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.recordingPen import RecordingPen
from fontTools.pens.svgPathPen import SVGPathPen
from fontTools.pens.transformPen import TransformPen
from fontTools.misc.transform import Transform

import svgdoc
from svgdoc import svg, write

HAND_FONT = "/usr/share/fonts/truetype/seto/setofont.ttf"
ROUND_FONT = "/usr/share/fonts/truetype/motoya-l-maruberi/MTLmr3m.ttf"

PALE_YELLOW = "#fcffd0"   # button pictures, close to the button face colour
WHITE = "#ffffff"         # window headings, on the white windows
PALE_PINK = "#ffd7ed"     # end button picture


def num(v):
    """Font outlines keep one decimal: a tenth of a pixel is finer than any
    edge the renderer can show, and the files stay small."""
    return svgdoc.num(v, places=1)


class Font:
    """A font file with helpers that turn characters into placed SVG paths."""

    def __init__(self, path):
        self.tt = TTFont(path)
        self.glyphs = self.tt.getGlyphSet()
        self.cmap = self.tt.getBestCmap()
        self.upem = self.tt["head"].unitsPerEm

    def glyph(self, ch):
        return self.glyphs[self.cmap[ord(ch)]]

    def bounds(self, ch):
        pen = BoundsPen(self.glyphs)
        self.glyph(ch).draw(pen)
        return pen.bounds  # xMin, yMin, xMax, yMax in font units

    def size_px(self, ch, em):
        """Width and height in pixels of the character's ink at an em of em px."""
        x0, y0, x1, y1 = self.bounds(ch)
        k = em / self.upem
        return (x1 - x0) * k, (y1 - y0) * k

    def contours(self, ch):
        """The character's outline split into its separate contours."""
        rec = RecordingPen()
        self.glyph(ch).draw(rec)
        parts, cur = [], []
        for op, args in rec.value:
            cur.append((op, args))
            if op in ("closePath", "endPath"):
                parts.append(cur)
                cur = []
        return parts

    def path(self, ch, em, cx, cy, angle=0.0, sx=1.0, sy=1.0, only=None):
        """SVG path data of ch with its ink centred on (cx, cy) in pixels.

        em is the em size in pixels, angle a clockwise tilt in degrees about
        the ink centre, sx/sy extra squeeze factors.  Font units are y-up,
        pixels y-down, hence the negative y scale.  only, if given, picks
        contours by index (placement still follows the whole character).
        """
        x0, y0, x1, y1 = self.bounds(ch)
        k = em / self.upem
        t = (Transform()
             .translate(cx, cy)
             .rotate(math.radians(angle))
             .scale(k * sx, -k * sy)
             .translate(-(x0 + x1) / 2.0, -(y0 + y1) / 2.0))
        pen = SVGPathPen(self.glyphs, ntos=num)
        tpen = TransformPen(pen, t)
        for i, contour in enumerate(self.contours(ch)):
            if only is None or i in only:
                rec = RecordingPen()
                rec.value = contour
                rec.replay(tpen)
        return pen.getCommands()


def path_el(d, **attrs):
    """A <path> element; attribute names use '_' for '-'."""
    parts = ['<path d="%s"' % d]
    for k, v in attrs.items():
        parts.append(' %s="%s"' % (k.replace("_", "-"), v))
    parts.append("/>")
    return "".join(parts)


# ---------------------------------------------------------------------------
# Hand-drawn word (カタカナ / ひらがな) with a soft drop shadow
# ---------------------------------------------------------------------------

def row_centres(font, text, em, x_start, gap, squeeze=None):
    """Centre x of each character set side by side by its ink width."""
    xs, x = [], x_start
    for i, ch in enumerate(text):
        w = font.size_px(ch, em)[0] * (squeeze[i] if squeeze else 1.0)
        xs.append(x + w / 2.0)
        x += w + gap
    return xs


# The four characters bounce up and down and lean in turn, like a child's
# lettering: vertical centre and clockwise tilt of each.  The ink of the
# tilted characters stays inside rows 16..72.
HAND_EM = 46.0
HAND_LEFT = 4.0
HAND_WIDTH = 146.0        # both words are spread over the same width
HAND_BOUNCE = [(39.0, -11.0), (49.5, 8.0), (37.5, -7.0), (48.0, 10.0)]


def hand_word(font, text, ink, shadow):
    """The bouncing word: shadow copies first, then the coloured strokes."""
    ink_w = sum(font.size_px(ch, HAND_EM)[0] for ch in text)
    gap = (HAND_WIDTH - ink_w) / (len(text) - 1)
    xs = row_centres(font, text, HAND_EM, HAND_LEFT, gap)
    d = "".join(font.path(ch, HAND_EM, cx, cy, ang)
                for ch, cx, (cy, ang) in zip(text, xs, HAND_BOUNCE))
    out = []
    # Soft shadow: a wide faint copy, then a closer, denser one; both are
    # shifted down-right and stroked with round joins so the edge blurs.
    out.append('<g transform="translate(3,3)">%s</g>\n' % path_el(
        d, fill=shadow, stroke=shadow, stroke_width="3",
        stroke_linejoin="round", opacity="0.35"))
    out.append('<g transform="translate(2.2,2.2)">%s</g>\n' % path_el(
        d, fill=shadow, stroke=shadow, stroke_width="1.4",
        stroke_linejoin="round", opacity="0.8"))
    # The strokes themselves, with a thin same-colour outline that rounds
    # the corners like a felt pen.
    out.append(path_el(d, fill=ink, stroke=ink, stroke_width="0.8",
                       stroke_linejoin="round") + "\n")
    return "".join(out)


# ---------------------------------------------------------------------------
# Bubble letters ど〜れ？
# ---------------------------------------------------------------------------

BUBBLE_NAVY = "#1b2a6b"
BUBBLE_BLUE = "#4f9be8"
BUBBLE_LIGHT = "#c4e6ff"
BUBBLE_EM = 32.0
BUBBLE_RIGHT = 286.0      # right edge of the ink, rim included
BUBBLE_GAP = 0.5          # rims of neighbours nearly touch
BUBBLE_RIM = 7.6          # stroke widths: navy rim, blue body
BUBBLE_BODY = 4.0
BUBBLE_TEXT = "ど〜れ？"
BUBBLE_SQUEEZE = [1.0, 0.7, 1.0, 1.0]
BUBBLE_BOUNCE = [(43.0, -6.0), (46.0, 0.0), (43.5, 4.0), (45.5, 8.0)]


def bubble_layer(d, shift=None):
    """One bubble piece: navy rim, blue body, light highlight crescent.

    The thin rounded face is fattened with wide round-joined strokes.  The
    highlight is a narrower light copy shifted up-left, partly covered again
    by a blue copy shifted down-right, which leaves a light crescent on the
    upper-left side of every stroke.
    """
    out = []
    g0 = '<g transform="translate(%s,%s)">' % shift if shift else ""
    g1 = "</g>" if shift else ""
    out.append(path_el(d, fill=BUBBLE_NAVY, stroke=BUBBLE_NAVY,
                       stroke_width=num(BUBBLE_RIM), stroke_linejoin="round",
                       stroke_linecap="round"))
    out.append(path_el(d, fill=BUBBLE_BLUE, stroke=BUBBLE_BLUE,
                       stroke_width=num(BUBBLE_BODY), stroke_linejoin="round",
                       stroke_linecap="round"))
    out.append('<g transform="translate(-0.8,-0.8)">%s</g>' % path_el(
        d, fill=BUBBLE_LIGHT, stroke=BUBBLE_LIGHT, stroke_width="2",
        stroke_linejoin="round", stroke_linecap="round"))
    out.append('<g transform="translate(0.5,0.5)">%s</g>' % path_el(
        d, fill=BUBBLE_BLUE, stroke=BUBBLE_BLUE, stroke_width="1.2",
        stroke_linejoin="round", stroke_linecap="round"))
    return g0 + "\n".join(out) + g1 + "\n"


def bubble_word(font):
    """ど〜れ？ as fat rounded letters, right-aligned in the picture.

    The bodies of all four letters are drawn as one piece, so where
    neighbours touch their rims merge like hand-painted bubble lettering.
    The two dakuten strokes of ど come last, each as a piece with its own
    rim, so they stay apart from the letter's body and from each other
    even where the fat rims overlap.
    """
    widths = [font.size_px(ch, BUBBLE_EM)[0] * q + BUBBLE_RIM
              for ch, q in zip(BUBBLE_TEXT, BUBBLE_SQUEEZE)]
    total = sum(widths) + BUBBLE_GAP * (len(widths) - 1)
    xs = row_centres(font, BUBBLE_TEXT, BUBBLE_EM,
                     BUBBLE_RIGHT - total + BUBBLE_RIM / 2.0,
                     BUBBLE_GAP + BUBBLE_RIM, BUBBLE_SQUEEZE)
    body, marks = [], []
    for ch, cx, q, (cy, ang) in zip(BUBBLE_TEXT, xs, BUBBLE_SQUEEZE,
                                    BUBBLE_BOUNCE):
        if ch == "ど":
            # contour 0 is the body of と, contours 1 and 2 the dakuten
            body.append(font.path(ch, BUBBLE_EM, cx, cy, ang, q, only={0}))
            marks = [font.path(ch, BUBBLE_EM, cx, cy, ang, q, only={i})
                     for i in (2, 1)]
        else:
            body.append(font.path(ch, BUBBLE_EM, cx, cy, ang, q))
    return (bubble_layer("".join(body))
            + "".join(bubble_layer(m, ("1.2", "-1.2")) for m in marks))


def lettering(hand, rounded, word, ink, shadow):
    """The whole lettering of a button/heading; shared by both backgrounds."""
    return hand_word(hand, word, ink, shadow) + bubble_word(rounded)


# ---------------------------------------------------------------------------
# End button: open door and おわる
# ---------------------------------------------------------------------------

END_EM = 27.0
END_PLACES = [(48.5, 21.0), (76.5, 21.0), (104.0, 21.5)]


def end_picture(rounded):
    out = []
    # Door: dark frame with a white doorway; the orange-red leaf hangs on
    # the frame's left post and swings out towards the viewer, so its outer
    # edge is drawn taller than the frame, as if nearer to the viewer.
    frame = "#3a2a26"
    out.append('<rect x="9" y="6" width="15" height="30" fill="#ffffff" '
               'stroke="%s" stroke-width="2.2"/>\n' % frame)
    out.append(path_el("M9 6L2.5 3L2.5 39L9 36Z", fill="#cc6047",
                       stroke=frame, stroke_width="1.3",
                       stroke_linejoin="round") + "\n")
    # two lighter panels on the leaf, foreshortened like the leaf itself
    out.append(path_el("M4.3 7.6L7.5 8.9L7.5 19.2L4.3 19ZM4.3 23.6L7.5 23.5"
                       "L7.5 33.2L4.3 34.6Z", fill="#e4836a") + "\n")
    out.append('<circle cx="3.9" cy="21.3" r="0.9" fill="%s"/>\n' % frame)
    # おわる: pale blue body, bright cyan rim and a white line inside each
    # stroke.  The white is the glyph's own thin shape, narrowed by a pale
    # blue stroke along its contour.
    body = "#9ed2ff"
    d = "".join(rounded.path(ch, END_EM, cx, cy)
                for ch, (cx, cy) in zip("おわる", END_PLACES))
    out.append(path_el(d, fill="#00d8ff", stroke="#00d8ff", stroke_width="8",
                       stroke_linejoin="round", stroke_linecap="round") + "\n")
    out.append(path_el(d, fill=body, stroke=body, stroke_width="5",
                       stroke_linejoin="round", stroke_linecap="round") + "\n")
    out.append(path_el(d, fill="#ffffff", stroke=body, stroke_width="1.8",
                       stroke_linejoin="round") + "\n")
    return "".join(out)


# ---------------------------------------------------------------------------
# The installer's picture
# ---------------------------------------------------------------------------

def inner(name):
    """The drawing of an SVG file in assets/, without its document wrapper."""
    with open(os.path.join(svgdoc.ASSETS, name), encoding="utf-8") as f:
        text = f.read()
    return text[text.index(">", text.index("<svg")) + 1:text.rindex("</svg>")]


def placed(name, x, y, scale):
    return '<g transform="translate(%s,%s) scale(%s)">%s</g>\n' % (
        num(x), num(y), svgdoc.num(scale, places=3), inner(name))


def installer_picture(hand):
    """164 x 314, the size of the installer's side picture: the program's
    name bouncing like the menu's words, its icon, and the menu's two
    pictures, so that a parent sees at once what is being installed."""
    out = ['<g transform="translate(5,6)">', hand_word(hand, "ぽこもじ", "#ed514e", "#d9c29a"),
           "</g>\n"]
    out.append(placed("icon.svg", 26, 88, 3.5))
    out.append(placed("menu_katakana.svg", 8, 212, 0.5))
    out.append(placed("menu_hiragana.svg", 8, 258, 0.5))
    return "".join(out)


def main():
    # setofont's head table carries odd time stamps; fontTools warns about
    # them on loading, which is harmless here.
    logging.getLogger("fontTools").setLevel(logging.ERROR)
    hand = Font(HAND_FONT)
    rounded = Font(ROUND_FONT)

    kata = lettering(hand, rounded, "カタカナ", "#ed514e", "#d9c29a")
    hira = lettering(hand, rounded, "ひらがな", "#2258a0", "#b9c9de")

    write("menu_katakana.svg", svg(290, 86, kata, PALE_YELLOW))
    write("heading_katakana.svg", svg(290, 86, kata, WHITE))
    write("menu_hiragana.svg", svg(290, 87, hira, PALE_YELLOW))
    write("heading_hiragana.svg", svg(290, 87, hira, WHITE))
    write("menu_end.svg", svg(120, 42, end_picture(rounded), PALE_PINK))
    write("installer.svg", svg(164, 314, installer_picture(hand), PALE_YELLOW))


if __name__ == "__main__":
    main()
