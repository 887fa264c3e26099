#!/usr/bin/python3
"""Cuts the program's built-in face out of BIZ UDPGothic.

Keeps exactly the characters the program can draw: every character of every
string literal in the given C++ sources (the kana tables, the captions and the
button texts) and the ten digits, in which scores and seconds are written.
The subset is a Modified Version under the SIL Open Font License 1.1; it gets
a family name of its own, keeps the copyright and licence records of its name
table, and says in its description what it was made from.

Usage: subset_font.py --family NAME --chars FILE --regular IN OUT --bold IN OUT
                      SOURCE...
Writes the two subsets to their OUT paths and the characters kept to FILE, on
one line.
"""

import argparse
import os
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

DIGITS = "0123456789"


def string_literals(text):
    """The contents of the string literals of C++ source text, with comments
    and character literals skipped. Escape sequences are dropped: the
    program's captions use none, and what they stand for is not drawn."""
    literals = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            end = text.find("\n", i)
            i = n if end < 0 else end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            i = n if end < 0 else end + 2
        elif c in "\"'":
            j, chars = i + 1, []
            while j < n and text[j] != c and text[j] != "\n":
                if text[j] == "\\":
                    j += 2
                    continue
                chars.append(text[j])
                j += 1
            if c == '"':
                literals.append("".join(chars))
            i = j + 1
        else:
            i += 1
    return literals


def drawn_characters(sources):
    chars = set(DIGITS)
    for path in sources:
        with open(path, encoding="utf-8") as f:
            for literal in string_literals(f.read()):
                chars.update(ch for ch in literal if ch.isprintable())
    return "".join(sorted(chars))


def rename(font, family, style, source_family):
    """Gives the subset its own family name in every language record."""
    postscript = family.replace(" ", "") + "-" + style
    version = font["name"].getDebugName(5) or ""
    names = {
        1: family,
        2: style,
        3: f"{postscript};{version}",
        4: family if style == "Regular" else f"{family} {style}",
        6: postscript,
    }
    table = font["name"]
    for record in list(table.names):
        if record.nameID in (16, 17, 18, 21, 22):
            table.removeNames(nameID=record.nameID)
    for record in table.names:
        if record.nameID in names:
            record.string = names[record.nameID]
    table.setName(f"{family} {style} is a subset of {source_family} {style}, cut down to the "
                  "characters ぽこもじ draws. It is distributed under the SIL Open Font License 1.1.",
                  10, 3, 1, 0x409)


def make_subset(source, target, chars, family, style):
    font = TTFont(source, recalcTimestamp=False)
    source_family = font["name"].getDebugName(1)
    options = subset.Options()
    options.layout_features = []  # horizontal kana and captions need no substitutions
    options.drop_tables += ["DSIG", "meta", "vhea", "vmtx", "GSUB"]
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True  # a box, should a character ever be missing
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=[ord(ch) for ch in chars])
    subsetter.subset(font)
    rename(font, family, style, source_family)
    missing = [ch for ch in chars if ord(ch) not in font.getBestCmap()]
    if missing:
        sys.exit(f"{source} lacks {''.join(missing)!r}")
    font.save(target)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--family", required=True)
    parser.add_argument("--chars", required=True)
    parser.add_argument("--regular", nargs=2, required=True, metavar=("IN", "OUT"))
    parser.add_argument("--bold", nargs=2, required=True, metavar=("IN", "OUT"))
    parser.add_argument("sources", nargs="+")
    args = parser.parse_args()

    chars = drawn_characters(args.sources)
    for (source, target), style in ((args.regular, "Regular"), (args.bold, "Bold")):
        os.makedirs(os.path.dirname(os.path.abspath(target)), exist_ok=True)
        make_subset(source, target, chars, args.family, style)
    with open(args.chars, "w", encoding="utf-8") as f:
        f.write(chars + "\n")


if __name__ == "__main__":
    main()
