"""Helpers shared by the drawing generators in assets/src/: number formatting,
the SVG document wrapper and writing a file into assets/.

Every generator writes plain SVG Tiny 1.2 (paths, rects, groups, transforms,
fills and strokes), the profile Qt's QSvgRenderer draws exactly like a
browser.  Output is deterministic, so a second run reproduces the files byte
for byte.
"""
import os

ASSETS = os.path.normpath(
    os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))


def num(v, places=2):
    """v with at most `places` decimals, without trailing zeros ("-0" is "0")."""
    s = "%.*f" % (places, v)
    if "." in s:
        s = s.rstrip("0").rstrip(".")
    return "0" if s == "-0" else s


def pts(*p, places=2):
    """Coordinates as a space-separated list."""
    return " ".join(num(c, places) for c in p)


def svg(w, h, body, background=None, comment=None):
    """A whole SVG document of w x h pixels, one user unit a pixel.

    background, if given, fills the whole picture first; without it the
    picture has no background.  comment, if given, is placed before the
    root element.
    """
    head = '<?xml version="1.0" encoding="UTF-8"?>\n'
    if comment:
        head += "<!--\n%s\n-->\n" % comment.rstrip("\n")
    head += ('<svg xmlns="http://www.w3.org/2000/svg" version="1.2" '
             'baseProfile="tiny" width="%d" height="%d" viewBox="0 0 %d %d">\n'
             % (w, h, w, h))
    if background is not None:
        head += ('<rect x="0" y="0" width="%d" height="%d" fill="%s"/>\n'
                 % (w, h, background))
    return head + body + "</svg>\n"


def write(name, data):
    """Writes text (UTF-8, LF line ends) or bytes to assets/name; its path."""
    path = os.path.join(ASSETS, name)
    os.makedirs(ASSETS, exist_ok=True)
    if isinstance(data, bytes):
        with open(path, "wb") as f:
            f.write(data)
        size = len(data)
    else:
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(data)
        size = len(data.encode("utf-8"))
    print("wrote %s (%d bytes)" % (path, size))
    return path
