#!/bin/sh
# Checks the Windows resources of the program file: compiles the configured
# resource script with the MinGW resource compiler, prints the compiled .res
# back as resource script text and compares every field of the version record
# and the icon resource with what the program must carry.
#
# Usage: check_version_record.sh <configured .rc file> <expected version string>
#   e.g. check_version_record.sh build/pokomoji.rc 1.00.0002
#
# The numeric FILEVERSION/PRODUCTVERSION is derived from the version string:
# "M.mm.rrrr" means M,m,0,r (major, minor, 0, revision); a string of four
# dotted numbers is taken as the four parts directly.
#
# The compiler is $WINDRES if set, else the first of
# x86_64-w64-mingw32-windres, i686-w64-mingw32-windres, windres found.
# The comparison needs python3 (standard library only).
# Exit status: 0 all checks passed, 1 a check failed, 2 usage or compile
# error, 77 a needed tool is missing (reported as skipped).
set -eu

if [ $# -ne 2 ]; then
    echo "usage: $0 <configured .rc file> <expected version string>" >&2
    exit 2
fi
rc_file=$1
expected_version=$2

if [ ! -r "$rc_file" ]; then
    echo "FAIL: cannot read resource script '$rc_file'" >&2
    exit 2
fi

windres=${WINDRES:-}
if [ -z "$windres" ]; then
    for candidate in x86_64-w64-mingw32-windres i686-w64-mingw32-windres windres; do
        if command -v "$candidate" >/dev/null 2>&1; then
            windres=$candidate
            break
        fi
    done
fi
if [ -z "$windres" ]; then
    echo "SKIP: no windres resource compiler found" >&2
    exit 77
fi
if ! command -v python3 >/dev/null 2>&1; then
    echo "SKIP: python3 not found" >&2
    exit 77
fi

# windres preprocesses with the MinGW C compiler when there is one; without
# it the host's C preprocessor does the same job for this script.
set --
if ! command -v "${windres%windres}gcc" >/dev/null 2>&1; then
    set -- --preprocessor=cpp --preprocessor-arg=-xc --preprocessor-arg=-DRC_INVOKED
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM

# No -c option: the script must declare its own code page (UTF-8), exactly as
# it will be compiled in the real build.
if ! "$windres" "$@" -i "$rc_file" -O res -o "$tmp/version.res" 2>"$tmp/compile.log"; then
    echo "FAIL: $windres could not compile $rc_file:" >&2
    cat "$tmp/compile.log" >&2
    exit 2
fi
if ! "$windres" -i "$tmp/version.res" -J res -O rc -o "$tmp/back.rc" 2>"$tmp/decompile.log"; then
    echo "FAIL: $windres could not print back $tmp/version.res:" >&2
    cat "$tmp/decompile.log" >&2
    exit 2
fi

export PYTHONIOENCODING=utf-8
status=0
python3 - "$tmp/back.rc" "$expected_version" <<'PYTHON' || status=$?
import re
import sys

back_path, expected_version = sys.argv[1], sys.argv[2]
with open(back_path, encoding="latin-1") as f:
    text = f.read()

TITLE = "ぽこもじ"
MAKER = "ぽこもじ開発チーム"
EXPECTED_STRINGS = {
    "Comments": "しょうがっこう 1・2ねんせいの こどもが、ひらがなと カタカナを"
                " あわせて おぼえる れんしゅうソフトです。",
    "CompanyName": MAKER,
    "FileDescription": TITLE,
    "FileVersion": expected_version,
    "InternalName": TITLE + "_ver102",
    "LegalCopyright": "Copyright (C) " + MAKER,
    "OriginalFilename": TITLE + "_ver102.exe",
    "ProductName": TITLE,
    "ProductVersion": expected_version,
}

passed = 0
failed = 0


def check(field, ok, detail=""):
    global passed, failed
    if ok:
        passed += 1
        print(f"PASS: {field}")
    else:
        failed += 1
        print(f"FAIL: {field}" + (f": {detail}" if detail else ""))


def decode(body, wide):
    """Decodes the body of a string literal as windres prints it.

    Wide strings (L"...") escape each UTF-16 code unit outside printable
    ASCII as \\xHHHH (always four digits, so a following digit is a literal
    character); narrow strings use \\xHH or octal \\ooo. Returns a Python str.
    """
    units = []
    i = 0
    n = len(body)
    while i < n:
        c = body[i]
        if c == '"' and i + 1 < n and body[i + 1] == '"':
            units.append(ord('"'))
            i += 2
            continue
        if c != "\\":
            units.append(ord(c))
            i += 1
            continue
        i += 1
        if i >= n:
            raise ValueError("string ends in a lone backslash")
        e = body[i]
        if e == "x":
            width = 4 if wide else 2
            j = i + 1
            while j < n and j < i + 1 + width and body[j] in "0123456789abcdefABCDEF":
                j += 1
            if j == i + 1:
                raise ValueError("\\x without hex digits")
            units.append(int(body[i + 1:j], 16))
            i = j
        elif e in "01234567":
            j = i
            while j < n and j < i + 3 and body[j] in "01234567":
                j += 1
            units.append(int(body[i:j], 8))
            i = j
        else:
            simple = {"n": 10, "r": 13, "t": 9, "a": 7, "b": 8, "f": 12,
                      "v": 11, "\\": 92, '"': 34, "'": 39}
            if e not in simple:
                raise ValueError(f"unknown escape \\{e}")
            units.append(simple[e])
            i += 1
    if wide:
        raw = b"".join(u.to_bytes(2, "little") for u in units)
        return raw.decode("utf-16-le")
    return "".join(chr(u) for u in units)


def show(s):
    return repr(s)


def number(tok):
    return int(tok, 0)


# --- language -----------------------------------------------------------
langs = re.findall(r"^LANGUAGE (\w+), (\w+)\s*$", text, re.M)
check("language is Japanese (LANGUAGE 0x11, 0x01)",
      bool(langs) and all(number(a) == 0x11 and number(b) == 0x01 for a, b in langs),
      f"LANGUAGE statements found: {langs}")

# --- icon ---------------------------------------------------------------
icons = re.findall(r"^(\S+) 3 /\* RT_ICON \*/", text, re.M)
check("five icon images (RT_ICON)", len(icons) == 5, f"found {len(icons)}")
groups = re.findall(r"^(\S+) 14 /\* RT_GROUP_ICON \*/", text, re.M)
check("icon group 1 (RT_GROUP_ICON)", groups == ["1"], f"found groups {groups}")
m = re.search(r"RT_GROUP_ICON \*/[^\n]*\nBEGIN\n(.*?)\nEND", text, re.S)
group_body = m.group(1) if m else ""
# The 32 x 32 image of 256 colours first, then one drawn for each size
# Windows shows: 16, 24 and 48 in 8 bits, 256 (written 0) as a 32-bit PNG.
entries = re.findall(r'"((?:\\[0-7]{3}){4})", 1, (\d+),', group_body)
sizes = [(int(octets[1:4], 8) or 256, int(bits)) for octets, bits in entries]
check("icon group: 32 x 32 in 8 bits first, then 16, 24, 48 and 256",
      sizes == [(32, 8), (16, 8), (24, 8), (48, 8), (256, 32)],
      f"group body: {group_body.strip()!r}")
m = re.search(r"RT_ICON \*/[^\n]*\nBEGIN\n\s*(.*?)\nEND", text, re.S)
words = re.findall(r"0x([0-9a-fA-F]+)L", m.group(1) if m else "")[:4]
header = [int(w, 16) for w in words]
check("icon image header: 40-byte BITMAPINFOHEADER, 32 x 32 (+mask), 1 plane, 8 bpp",
      header == [40, 32, 64, 0x00080001], f"header words {header}")

# --- version record -----------------------------------------------------
m = re.search(r"^(\S+) VERSIONINFO\s*\n(.*?)^BEGIN\s*\n(.*)^END\s*$", text, re.S | re.M)
check("version record present (VERSIONINFO 1)", m is not None and m.group(1) == "1",
      "no VERSIONINFO resource named 1" if m is None else f"named {m.group(1)}")
fixed = m.group(2) if m else ""
body = m.group(3) if m else ""

parts = expected_version.split(".")
try:
    nums = [int(p, 10) for p in parts]
except ValueError:
    nums = []
if len(nums) == 3:
    want = (nums[0], nums[1], 0, nums[2])
elif len(nums) == 4:
    want = tuple(nums)
else:
    print(f"FAIL: cannot derive a numeric version from {expected_version!r}")
    sys.exit(2)

for key in ("FILEVERSION", "PRODUCTVERSION"):
    mm = re.search(rf"^\s*{key} (\d+), (\d+), (\d+), (\d+)\s*$", fixed, re.M)
    got = tuple(int(x) for x in mm.groups()) if mm else None
    check(f"{key} {','.join(map(str, want))}", got == want, f"got {got}")


def fixed_value(key):
    mm = re.search(rf"^\s*{key} (\w+)\s*$", fixed, re.M)
    return number(mm.group(1)) if mm else None


v = fixed_value("FILEOS")
check("FILEOS VOS__WINDOWS32 (0x4)", v == 0x4, f"got {v if v is None else hex(v)}")
v = fixed_value("FILETYPE")
check("FILETYPE VFT_APP (0x1)", v == 0x1, f"got {v if v is None else hex(v)}")
v = fixed_value("FILEFLAGS")
check("FILEFLAGS 0 (no debug/prerelease flags)", v in (None, 0), f"got {v if v is None else hex(v)}")

blocks = re.findall(r'BLOCK "([^"]*)"', body)
check("blocks StringFileInfo / 041104B0 / VarFileInfo",
      [b.upper() for b in blocks] == ["STRINGFILEINFO", "041104B0", "VARFILEINFO"],
      f"got {blocks}")

value_re = re.compile(r'^\s*VALUE (L?)"((?:[^"\\]|\\.|"")*)", (L?)"((?:[^"\\]|\\.|"")*)"\s*$', re.M)
strings = {}
duplicates = []
bad = []
for kw, k, vw, val in value_re.findall(body):
    try:
        key = decode(k, kw == "L")
        value = decode(val, vw == "L")
    except ValueError as err:
        bad.append(f"{k}: {err}")
        continue
    if key in strings:
        duplicates.append(key)
    strings[key] = value
check("string values decode cleanly", not bad, "; ".join(bad))
check("no duplicate string keys", not duplicates, f"duplicated: {duplicates}")

for key, want_value in EXPECTED_STRINGS.items():
    got = strings.get(key)
    if got is None:
        check(f"{key}", False, "missing")
    else:
        check(f"{key} = {want_value}", got == want_value,
              f"expected {show(want_value)}, got {show(got)}")
extra = sorted(set(strings) - set(EXPECTED_STRINGS))
check("no unexpected string keys", not extra, f"unexpected: {extra}")

comment = strings.get("Comments", "")
check("Comments is one non-empty line", bool(comment.strip()) and "\n" not in comment
      and "\r" not in comment, f"got {show(comment)}")

tr = re.findall(r'^\s*VALUE "Translation"((?:, *\w+)+)\s*$', body, re.M)
pairs = [[number(x) for x in re.findall(r"\w+", t)] for t in tr]
check("Translation 0x0411, 1200", pairs == [[0x411, 1200]], f"got {pairs}")

print(f"{passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
PYTHON
exit "$status"
