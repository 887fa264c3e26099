#!/usr/bin/python3
"""Prints, as JSON, the signatures that tests/web/check.mjs reads kana and
numbers off the page with: each of the 71 hiragana, the 71 katakana and the
ten digits drawn in a face (the program's built-in one) and reduced as
tests/xvfb_session.py reduces what it reads off an X screen (the ink's box
scaled to 32 x 32, 255 for ink).

Usage: glyphs.py FONT
"""

import json
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from xvfb_session import HIRAGANA, KATAKANA, kana_signatures  # noqa: E402


def main():
    face = sys.argv[1]
    signatures = {
        "hiragana": kana_signatures(HIRAGANA, face),
        "katakana": kana_signatures(KATAKANA, face),
        "digits": kana_signatures("0123456789", face),
    }
    print(json.dumps({script: [list(s.getdata()) for s in drawn]
                      for script, drawn in signatures.items()}))


if __name__ == "__main__":
    main()
