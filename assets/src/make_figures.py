#!/usr/bin/python3
"""Writes the four figure drawings of the program into assets/:

  teacher.svg   66 x 65, white background   (menu window teacher)
  children.svg 215 x 108, no background     (results panel illustration)
  markers.svg  221 x 19,  no background     (results panel border strip)
  vsign.svg    206 x 211, no background     (reward for a correct answer)

Only plain shapes, transforms, fills and strokes are used, so that QtSvg's
Tiny 1.2 renderer draws them exactly as any browser does.

Run:  /usr/bin/python3 assets/src/make_figures.py
"""
import math

from svgdoc import num, pts, svg, write

BLACK = "#000000"


def capsule(x1, y1, x2, y2, r, fill, stroke=BLACK, sw=1.0, extra=""):
    """A rounded bar from (x1,y1) to (x2,y2), radius r, as a rotated rect."""
    length = math.hypot(x2 - x1, y2 - y1)
    ang = math.degrees(math.atan2(y2 - y1, x2 - x1))
    cx, cy = (x1 + x2) / 2, (y1 + y2) / 2
    st = ' stroke="%s" stroke-width="%s"' % (stroke, num(sw)) if stroke else ' stroke="none"'
    return ('<rect transform="translate(%s) rotate(%s)" x="%s" y="%s" width="%s" '
            'height="%s" rx="%s" ry="%s" fill="%s"%s%s/>\n'
            % (pts(cx, cy), num(ang), num(-length / 2 - r), num(-r),
               num(length + 2 * r), num(2 * r), num(r), num(r), fill, st, extra))


# ---------------------------------------------------------------- V sign
def vsign():
    skin = "#ffc0c0"
    ow = 5.0                      # visible outline width of the silhouette
    # Raised fingers: index leans left, middle leans right; the opening
    # between them stays empty so the window shows through.
    index = (90, 134, 52, 32, 19)     # base x, y, tip x, y, radius
    middle = (118, 132, 156, 26, 19)
    palm = ("M 50 140 C 48 122 62 114 100 116 C 140 114 164 120 166 140 "
            "L 168 172 C 168 196 150 204 124 204 L 84 204 "
            "C 60 204 46 190 48 168 Z")
    # The wrist runs from under the palm into a sleeve cuff; the cuff's
    # rounded bottom closes the figure well above the picture's bottom row.
    wrist = "M 76 192 L 134 192 L 132 216 L 78 216 Z"
    cuff = (62, 212, 86, 22, 6)       # x, y, width, height, corner radius
    sleeve = "#cfe6ff"
    # The hand is drawn a little shorter than its design grid so that the
    # cuff fits, and only slightly narrower, so that it still reaches over
    # the edges of the kana boxes beside it; it stays centred across the
    # picture and touches the top.
    scale = (0.97, 0.86)
    shift = (103 * (1 - scale[0]), 1.0)

    def cuff_rect(fill, st):
        x, y, w, h, r = cuff
        return ('<rect x="%s" y="%s" width="%s" height="%s" rx="%s" ry="%s" fill="%s" %s/>\n'
                % (num(x), num(y), num(w), num(h), num(r), num(r), fill, st))

    def silhouette(fill, stroke, sw):
        st = 'stroke="%s" stroke-width="%s" stroke-linejoin="round"' % (stroke, num(sw)) \
            if stroke else 'stroke="none"'
        out = '<path d="%s" fill="%s" %s/>\n' % (wrist, fill, st)
        out += '<path d="%s" fill="%s" %s/>\n' % (palm, fill, st)
        for f in (index, middle):
            out += capsule(f[0], f[1], f[2], f[3], f[4], fill, stroke, sw)
        out += cuff_rect(fill, st)
        # knuckles of the curled fingers bulge out on the right
        out += capsule(120, 142, 166, 144, 13, fill, stroke, sw)
        out += capsule(122, 168, 162, 170, 12, fill, stroke, sw)
        return out

    body = '<g transform="translate(%s) scale(%s)">\n' % (pts(*shift), pts(*scale))
    # Thick black outline first, then the same shapes filled on top: the
    # outline then runs only round the outside of the whole hand.
    body += silhouette(BLACK, BLACK, 2 * ow)
    body += silhouette(skin, None, 0)
    body += cuff_rect(sleeve, 'stroke="%s" stroke-width="4"' % BLACK)
    # Curled ring and little finger, folded over the palm on the right.
    body += capsule(116, 142, 166, 144, 13, skin, BLACK, 4)
    body += capsule(118, 168, 162, 170, 12, skin, BLACK, 4)
    # Thumb laid across the curled fingers, coming up from the lower left.
    body += ('<path d="M 48 168 C 52 150 70 150 90 158 L 132 170 '
             'C 146 174 146 192 130 192 L 90 190 C 66 190 50 186 48 168 Z" '
             'fill="%s" stroke="%s" stroke-width="4" stroke-linejoin="round"/>\n'
             % (skin, BLACK))
    # Finger creases.
    for (bx, by, tx, ty, r) in (index, middle):
        for t in (0.42, 0.66):
            cx, cy = bx + (tx - bx) * t, by + (ty - by) * t
            L = math.hypot(tx - bx, ty - by)
            nx, ny = -(ty - by) / L, (tx - bx) / L
            d = r * 0.45
            body += ('<path d="M %s L %s" fill="none" stroke="%s" stroke-width="2.5" '
                     'stroke-linecap="round"/>\n'
                     % (pts(cx - nx * d, cy - ny * d), pts(cx + nx * d, cy + ny * d), BLACK))
    body += "</g>\n"
    return svg(206, 211, body)


# ---------------------------------------------------------------- teacher
def teacher():
    skin = "#ffd8b8"
    hair = "#505050"
    shirt = "#a8d8ff"
    tie = "#ff80b0"
    b = ""
    b += '<rect x="0" y="0" width="66" height="65" fill="#ffffff"/>\n'
    # Pointer stick, held in the raised hand and reaching to the top right.
    b += ('<path d="M 54 37 L 64.5 2" fill="none" stroke="#000000" stroke-width="2.6" '
          'stroke-linecap="round"/>\n')
    b += ('<path d="M 54 37 L 64.5 2" fill="none" stroke="#c08040" stroke-width="1.2" '
          'stroke-linecap="round"/>\n')
    # Shoulders and chest.
    b += ('<path d="M 3 65 C 3 54 10 48 20 47 L 40 47 C 46 48 50 52 51 58 L 52 65 Z" '
          'fill="%s" stroke="#000000" stroke-width="1.2" stroke-linejoin="round"/>\n' % shirt)
    # Arm stretched out to the right, bent up at the elbow: a black tube
    # with the sleeve colour inside it.
    arm = "M 42 56 L 57 51 L 56 38"
    b += ('<path d="%s" fill="none" stroke="#000000" stroke-width="9.4" '
          'stroke-linejoin="round" stroke-linecap="round"/>\n' % arm)
    b += ('<path d="%s" fill="none" stroke="%s" stroke-width="7" '
          'stroke-linejoin="round" stroke-linecap="round"/>\n' % (arm, shirt))
    # Hand gripping the stick.
    b += ('<circle cx="55" cy="35" r="3.8" fill="%s" stroke="#000000" stroke-width="1.1"/>\n'
          % skin)
    b += ('<path d="M 52.5 34 L 57 32.6 M 52.6 36.4 L 57.2 35" fill="none" stroke="#000000" '
          'stroke-width="0.7"/>\n')
    # Neck and collar.
    b += ('<path d="M 23 40 L 35 40 L 35 49 L 23 49 Z" fill="%s" stroke="#000000" '
          'stroke-width="1.1"/>\n' % skin)
    b += ('<path d="M 20 47 L 29 50 L 24 55 Z M 38 47 L 29 50 L 34 55 Z" fill="#ffffff" '
          'stroke="#000000" stroke-width="1" stroke-linejoin="round"/>\n')
    # Pink necktie.
    b += ('<path d="M 27 50 L 31 50 L 32 53 L 30 54 L 33 64 L 29 65 L 25 64 L 28 54 L 26 53 Z" '
          'fill="%s" stroke="#000000" stroke-width="1" stroke-linejoin="round"/>\n' % tie)
    # Head.
    b += ('<ellipse cx="29" cy="25" rx="15" ry="17" fill="%s" stroke="#000000" '
          'stroke-width="1.2"/>\n' % skin)
    # Ears.
    b += ('<ellipse cx="14" cy="27" rx="2.6" ry="4" fill="%s" stroke="#000000" '
          'stroke-width="1"/>\n' % skin)
    b += ('<ellipse cx="44" cy="27" rx="2.6" ry="4" fill="%s" stroke="#000000" '
          'stroke-width="1"/>\n' % skin)
    # Thick hair: a bushy cap over the top and down the sides.
    b += ('<path d="M 13 25 C 9 18 11 9 17 7 C 19 2 26 1 30 3 C 35 0 42 3 43 7 '
          'C 48 10 49 18 45 25 C 44 20 42 17 39 15 C 34 17 26 17 22 14 '
          'C 18 16 15 20 13 25 Z" fill="%s" stroke="#000000" stroke-width="1.1" '
          'stroke-linejoin="round"/>\n' % hair)
    # Round glasses.
    b += ('<circle cx="23" cy="23" r="4.6" fill="#ffecdc" '
          'stroke="#000000" stroke-width="1.3"/>\n')
    b += ('<circle cx="35" cy="23" r="4.6" fill="#ffecdc" '
          'stroke="#000000" stroke-width="1.3"/>\n')
    b += ('<path d="M 27.6 23 Q 29 21.5 30.4 23 M 18.4 22.5 L 14.5 24 M 39.6 22.5 L 43.5 24" '
          'fill="none" stroke="#000000" stroke-width="1.1"/>\n')
    # Laughing eyes behind the lenses.
    b += ('<path d="M 21 24 Q 23 21.5 25 24 M 33 24 Q 35 21.5 37 24" fill="none" '
          'stroke="#000000" stroke-width="1.1" stroke-linecap="round"/>\n')
    # Eyebrows.
    b += ('<path d="M 20 16.5 L 25 16 M 33 16 L 38 16.5" fill="none" stroke="#303030" '
          'stroke-width="1.4" stroke-linecap="round"/>\n')
    # Nose.
    b += ('<path d="M 29 26 Q 31 29 28.5 30" fill="none" stroke="#000000" stroke-width="1"/>\n')
    # Wide-open laughing mouth with a tongue.
    b += ('<path d="M 20 31 Q 29 33 38 31 Q 37 41 29 41 Q 21 41 20 31 Z" fill="#b01c28" '
          'stroke="#000000" stroke-width="1.1" stroke-linejoin="round"/>\n')
    b += ('<path d="M 24 38.5 Q 29 35 34 38.5 Q 29 41 24 38.5 Z" fill="#ff8090"/>\n')
    b += ('<path d="M 21 31.4 Q 29 33.2 37 31.4 L 36.6 33 Q 29 34.6 21.4 33 Z" '
          'fill="#ffffff"/>\n')
    return svg(66, 65, b)


# ---------------------------------------------------------------- children
CH_SKIN = "#ffccc0"
CH_MOUTH = "#ffccff"
SW = 1.5


def ch_shirt(x0, x1, top, colour):
    """Chest and shoulders from x0 to x1, running off the bottom edge."""
    r = 14
    return ('<path d="M %s L %s C %s %s %s L %s C %s %s %s L %s Z" fill="%s" stroke="#000000" '
            'stroke-width="%s" stroke-linejoin="round"/>\n'
            % (pts(x0, 109), pts(x0, top + r), pts(x0, top + 2), pts(x0 + 4, top),
               pts(x0 + r, top), pts(x1 - r, top), pts(x1 - 4, top), pts(x1, top + 2),
               pts(x1, top + r), pts(x1, 109), colour, num(SW)))


def ch_neck(cx, top, bottom, half):
    return ('<rect x="%s" y="%s" width="%s" height="%s" fill="%s" stroke="#000000" '
            'stroke-width="%s"/>\n' % (num(cx - half), num(top), num(2 * half),
                                        num(bottom - top), CH_SKIN, num(SW)))


def ch_collar(cx, top, half):
    return ('<path d="M %s Q %s %s" fill="%s" stroke="#000000" stroke-width="%s" '
            'stroke-linejoin="round"/>\n'
            % (pts(cx - half, top), pts(cx, top + half * 1.3), pts(cx + half, top),
               CH_SKIN, num(SW)))


def ch_face(cx, ey, my, mw, mh):
    """Eyes squeezed shut (> <) at height ey and a huge open mouth at my."""
    b = ('<path d="M %s L %s L %s M %s L %s L %s" fill="none" stroke="#000000" '
         'stroke-width="2" stroke-linecap="round" stroke-linejoin="round"/>\n'
         % (pts(cx - 14, ey - 4), pts(cx - 7, ey), pts(cx - 14, ey + 3),
            pts(cx + 14, ey - 4), pts(cx + 7, ey), pts(cx + 14, ey + 3)))
    # Mouth: a wide flat upper edge and a deep round lower edge.
    b += ('<path d="M %s Q %s %s C %s %s %s Z" fill="%s" stroke="#000000" '
          'stroke-width="%s" stroke-linejoin="round"/>\n'
          % (pts(cx - mw, my), pts(cx, my - 3), pts(cx + mw, my),
             pts(cx + mw, my + mh * 1.1), pts(cx - mw, my + mh * 1.1), pts(cx - mw, my),
             CH_MOUTH, num(SW)))
    # Tongue line inside the mouth.
    b += ('<path d="M %s Q %s %s" fill="none" stroke="#000000" stroke-width="1"/>\n'
          % (pts(cx - mw * 0.5, my + mh * 0.78), pts(cx, my + mh * 0.45),
             pts(cx + mw * 0.5, my + mh * 0.78)))
    return b


def ch_braid(x, y0, y1, hair):
    """A braided pigtail hanging from (x, y0) to (x, y1)."""
    b = ""
    n = 5
    step = (y1 - y0) / n
    for i in range(n):
        cy = y0 + step * (i + 0.5)
        b += ('<ellipse cx="%s" cy="%s" rx="5.6" ry="%s" fill="%s" stroke="#000000" '
              'stroke-width="1.2"/>\n' % (num(x), num(cy), num(step * 0.62), hair))
    # hair band and a little tuft at the end
    b += ('<path d="M %s L %s L %s L %s Z" fill="%s" stroke="#000000" stroke-width="1.2" '
          'stroke-linejoin="round"/>\n'
          % (pts(x - 3, y1), pts(x - 6, y1 + 7), pts(x + 6, y1 + 7), pts(x + 3, y1),
             hair))
    b += ('<rect x="%s" y="%s" width="8" height="3" fill="#ff2090" stroke="#000000" '
          'stroke-width="1"/>\n' % (num(x - 4), num(y1 - 1.5)))
    return b


def children():
    b = ""
    # --- left: girl with a fringe and two braided pigtails, pink shirt
    hair = "#802700"
    gx = 37
    b += ch_shirt(0, 72, 80, "#ff80f3")
    b += ch_neck(gx, 66, 82, 8)
    b += ch_collar(gx, 80, 10)
    b += ch_braid(gx - 26, 38, 92, hair)
    b += ch_braid(gx + 26, 38, 92, hair)
    b += ('<ellipse cx="%s" cy="46" rx="23" ry="25" fill="%s" stroke="#000000" '
          'stroke-width="%s"/>\n' % (num(gx), CH_SKIN, num(SW)))
    # hair cap with a zigzag fringe over the forehead
    fringe = [(20, 30), (15, 35), (10, 28), (4, 34), (-1, 27), (-6, 34), (-11, 28),
              (-16, 35), (-20, 30)]
    b += ('<path d="M %s C %s %s %s C %s %s %s L %s Z" fill="%s" stroke="#000000" '
          'stroke-width="%s" stroke-linejoin="round"/>\n'
          % (pts(gx - 25, 44), pts(gx - 28, 22), pts(gx - 14, 16), pts(gx, 16),
             pts(gx + 14, 16), pts(gx + 28, 22), pts(gx + 25, 44),
             " ".join(pts(gx + dx, y) for dx, y in fringe), hair, num(SW)))
    b += ch_face(gx, 39, 49, 17, 20)

    # --- centre: boy with black hair, cyan shirt
    bx = 108
    b += ch_shirt(72, 143, 80, "#33f3ff")
    b += ch_neck(bx, 64, 82, 8)
    b += ch_collar(bx, 80, 10)
    b += ('<ellipse cx="%s" cy="44" rx="23" ry="25" fill="%s" stroke="#000000" '
          'stroke-width="%s"/>\n' % (num(bx), CH_SKIN, num(SW)))
    b += ('<ellipse cx="%s" cy="46" rx="3" ry="5" fill="%s" stroke="#000000" '
          'stroke-width="1.2"/>\n' % (num(bx - 23), CH_SKIN))
    b += ('<ellipse cx="%s" cy="46" rx="3" ry="5" fill="%s" stroke="#000000" '
          'stroke-width="1.2"/>\n' % (num(bx + 23), CH_SKIN))
    b += ('<path d="M %s C %s %s %s C %s %s %s C %s %s %s C %s %s %s '
          'C %s %s %s Z" fill="#000000" stroke="#000000" stroke-width="%s" '
          'stroke-linejoin="round"/>\n'
          % (pts(bx - 23, 42), pts(bx - 27, 26), pts(bx - 18, 14), pts(bx - 6, 15),
             pts(bx + 2, 9), pts(bx + 18, 11), pts(bx + 21, 19),
             pts(bx + 27, 24), pts(bx + 26, 36), pts(bx + 23, 42),
             pts(bx + 19, 30), pts(bx + 10, 27), pts(bx + 4, 30),
             pts(bx - 4, 25), pts(bx - 16, 26), pts(bx - 23, 42), num(SW)))
    b += ch_face(bx, 37, 47, 17, 20)

    # --- right: boy, almost bald with a row of spiky hairs, head thrown back
    rx = 178
    b += ch_shirt(143, 215, 80, "#f3cc0d")
    b += ch_neck(rx, 58, 82, 11)
    b += ch_collar(rx, 80, 13)
    head = ""
    for ex in (rx - 23, rx + 23):
        head += ('<ellipse cx="%s" cy="42" rx="3" ry="5" fill="%s" stroke="#000000" '
                 'stroke-width="1.2"/>\n' % (num(ex), CH_SKIN))
    head += ('<ellipse cx="%s" cy="40" rx="23" ry="24" fill="%s" stroke="#000000" '
             'stroke-width="%s"/>\n' % (num(rx), CH_SKIN, num(SW)))
    # chin seen from below
    head += ('<path d="M %s Q %s %s" fill="none" stroke="#000000" stroke-width="1.2"/>\n'
             % (pts(rx - 10, 61), pts(rx, 66), pts(rx + 10, 61)))
    # spiky hairs along the crown
    spikes = ""
    for i in range(9):
        a = math.radians(-150 + i * 15)
        x0, y0 = rx + 23 * math.cos(a), 40 + 24 * math.sin(a)
        x1, y1 = rx + 29 * math.cos(a), 40 + 30 * math.sin(a)
        spikes += "M %s L %s " % (pts(x0, y0), pts(x1, y1))
    head += ('<path d="%s" fill="none" stroke="#000000" stroke-width="1.6" '
             'stroke-linecap="round"/>\n' % spikes.strip())
    head += ch_face(rx, 31, 39, 18, 19)
    b += '<g transform="rotate(16 %s)">\n%s</g>\n' % (pts(rx, 62), head)
    return svg(215, 108, b)


# ---------------------------------------------------------------- markers
def markers():
    w, h = 221, 19
    b = ""
    # Loose looping yellow line under the pens, along the whole strip.
    period, loop, amp = 23.0, 5.5, 6.5
    d = []
    u = -2.0
    while u <= w + 2.0:
        a = 2 * math.pi * u / period
        d.append(pts(u - loop * math.sin(a), 9.5 + amp * math.cos(a)))
        u += 1.5
    b += ('<path d="M %s L %s" fill="none" stroke="#ffff00" stroke-width="1.8" '
          'stroke-linecap="round" stroke-linejoin="round"/>\n' % (d[0], " ".join(d[1:])))
    colours = ("#ff0000", "#00ff00", "#00ffff")
    pitch = w / 14.0
    for i in range(14):
        cx = pitch * (i + 0.5)
        tilt = 18 if i % 2 == 0 else -18
        col = colours[i % 3]
        pen = ""
        # nib
        pen += ('<path d="M -1.6 5.5 L -1 8.6 L 1 8.6 L 1.6 5.5 Z" fill="%s" '
                'stroke="#000000" stroke-width="0.8" stroke-linejoin="round"/>\n' % col)
        # barrel with a rounded cap end
        pen += ('<rect x="-3" y="-8.6" width="6" height="14.6" rx="2" ry="2" fill="%s" '
                'stroke="#000000" stroke-width="0.9"/>\n' % col)
        # cream band where the cap meets the barrel
        pen += ('<rect x="-3" y="-3.4" width="6" height="2.6" fill="#ffffcc" '
                'stroke="#000000" stroke-width="0.7"/>\n')
        b += '<g transform="translate(%s) rotate(%d)">\n%s</g>\n' % (pts(cx, 9.5), tilt, pen)
    return svg(w, h, b)


def main():
    write("teacher.svg", teacher())
    write("children.svg", children())
    write("markers.svg", markers())
    write("vsign.svg", vsign())


if __name__ == "__main__":
    main()
