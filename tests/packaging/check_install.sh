#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that ぽこもじ lands there
# as a desktop application: the program, the desktop entry, the AppStream
# record and the icons under the application id, pointing at each other, with
# the release number of the CMake project, which the changelog's newest entry
# also carries.
#
# Usage: check_install.sh <build dir> <release, e.g. 1.0.2>
set -uo pipefail

if (($# != 2)); then
    echo "usage: $0 <build dir> <release>" >&2
    exit 2
fi
build=$1
release=$2
id=jp.pokomoji.Pokomoji
python=/usr/bin/python3
[[ -x $python ]] || python=python3

passed=0
failed=0
pass() { echo "PASS: $1"; passed=$((passed + 1)); }
fail() { echo "FAIL: $1"; failed=$((failed + 1)); }
check() { # check <description> <command...>
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}
finish() {
    echo "$passed passed, $failed failed"
    ((failed == 0))
    exit
}

prefix=$(mktemp -d "${TMPDIR:-/tmp}/pokomoji-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT

if ! cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1; then
    cat "$prefix.log"
    rm -f "$prefix.log"
    fail "cmake --install $build --prefix $prefix"
    finish
fi
rm -f "$prefix.log"
pass "cmake --install into a scratch prefix"

desktop=share/applications/$id.desktop
metainfo=share/metainfo/$id.metainfo.xml
# The icon theme gets the icon drawn for each of these pixel sizes.
icon_sizes=(16 22 24 32 48)
pngs=()
for n in "${icon_sizes[@]}"; do
    pngs+=("share/icons/hicolor/${n}x$n/apps/$id.png")
done
svg=share/icons/hicolor/scalable/apps/$id.svg
license=share/doc/pokomoji/copyright
changelog=share/doc/pokomoji/changelog.gz
manual=share/man/man6/pokomoji.6.gz

# Exactly these files, nothing missing and nothing stray.
expected=$(printf '%s\n' bin/pokomoji "$desktop" "$metainfo" "${pngs[@]}" "$svg" "$license" "$changelog" "$manual" |
    sort)
actual=$(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort)
if [[ $actual == "$expected" ]]; then
    pass "installed file list"
else
    fail "installed file list"
    diff <(echo "$expected") <(echo "$actual") | sed 's/^/    /'
fi

is_elf_executable() {
    [[ -f $1 && -x $1 ]] && [[ $(head -c 4 "$1" | od -An -c | tr -d ' ') == '177ELF' ]]
}
check "bin/pokomoji is an executable program" is_elf_executable "$prefix/bin/pokomoji"
for file in "$desktop" "$metainfo" "${pngs[@]}" "$svg" "$license" "$changelog" "$manual"; do
    check "$file is a non-empty file" test -s "$prefix/$file"
done

# A value of the [Desktop Entry] group ("" when absent).
desktop_key() {
    [[ -f $prefix/$desktop ]] || return 0
    awk -v key="$1" '
        /^\[/ { group = $0; next }
        group == "[Desktop Entry]" && index($0, key "=") == 1 {
            print substr($0, length(key) + 2); exit }' "$prefix/$desktop"
}
icon=$(desktop_key Icon)
exec_line=$(desktop_key Exec)
check "desktop entry Icon=$icon is the application id" test "$icon" = "$id"
check "desktop entry Icon=$icon is found among the installed icons" \
    test -n "$icon" -a -f "$prefix/share/icons/hicolor/32x32/apps/$icon.png" \
    -a -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg"
check "desktop entry Exec=$exec_line starts an installed program" \
    test -n "$exec_line" -a -x "$prefix/bin/${exec_line%% *}"

# id, launchable, provided binary and newest release of the AppStream record.
metainfo_fields() {
    "$python" - "$prefix/$metainfo" <<'EOF'
import sys
import xml.etree.ElementTree as ET
try:
    root = ET.parse(sys.argv[1]).getroot()
except (OSError, ET.ParseError) as error:
    print(error, file=sys.stderr)
    sys.exit(1)
def text(path):
    node = root.find(path)
    return (node.text or "").strip() if node is not None else ""
releases = root.findall("releases/release")
print(text("id"))
print(text("launchable[@type='desktop-id']"))
print(text("provides/binary"))
print(releases[0].get("version", "") if releases else "")
EOF
}
if fields=$(metainfo_fields); then
    pass "metainfo is well-formed XML"
else
    fail "metainfo is well-formed XML"
    fields=$'\n\n\n'
fi
{ read -r mi_id; read -r launchable; read -r binary; read -r mi_release; } <<<"$fields"
check "metainfo id '$mi_id' is $id" test "$mi_id" = "$id"
check "metainfo launchable '$launchable' is the installed desktop entry" \
    test "$launchable" = "$id.desktop" -a -f "$prefix/share/applications/$launchable"
check "metainfo provides binary '$binary' which is installed" \
    test -n "$binary" -a -x "$prefix/bin/$binary"
check "metainfo newest release '$mi_release' is the project's $release" test "$mi_release" = "$release"

# The changelog's newest entry is this release.
changelog_release=$(gzip -dc "$prefix/$changelog" 2>/dev/null | sed -n '1s/^pokomoji (\([^)]*\)).*/\1/p')
check "changelog newest entry '$changelog_release' is the project's $release" test "$changelog_release" = "$release"

# The machine-readable copyright file: every licence a Files paragraph names
# has a stand-alone paragraph with its text, and no such paragraph is unused.
copyright_licences() {
    "$python" - "$prefix/$license" <<'EOF'
import re
import sys
text = open(sys.argv[1], encoding="utf-8").read()
named, given = set(), {}
for paragraph in re.split(r"\n\s*\n", text.strip()):
    fields = dict(re.findall(r"^([A-Za-z-]+):[ \t]*(.*(?:\n[ \t].*)*)", paragraph, re.M))
    first, _, body = fields.get("License", "").partition("\n")
    if "Files" in fields:
        named.update(name for name in re.split(r"\s+(?:and|or)\s+", first.strip()) if name)
    elif first and "Format" not in fields:
        given[first.strip()] = body.replace(".", "").strip()
problems = [f"{name} has no text" for name in sorted(named) if not given.get(name)]
problems += [f"{name} is given but never named" for name in sorted(set(given) - named)]
print("; ".join(problems))
EOF
}
licence_problems=$(copyright_licences)
check "copyright file gives the text of every licence it names${licence_problems:+ ($licence_problems)}" \
    test -z "$licence_problems"

# The Debian package carries the same release.
cpack_version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake" 2>/dev/null)
check "package version '$cpack_version' is $release" test "$cpack_version" = "$release"

# Each PNG is as large as its folder says (read from its IHDR chunk); the SVG
# is drawn on 32 × 32.
png_size() {
    "$python" - "$1" <<'EOF'
import struct, sys
with open(sys.argv[1], "rb") as f:
    head = f.read(24)
if len(head) < 24 or head[:8] != b"\x89PNG\r\n\x1a\n" or head[12:16] != b"IHDR":
    print("not-a-png")
else:
    print("%dx%d" % struct.unpack(">II", head[16:24]))
EOF
}
svg_size() {
    "$python" - "$1" <<'EOF'
import sys
import xml.etree.ElementTree as ET
try:
    root = ET.parse(sys.argv[1]).getroot()
except (OSError, ET.ParseError):
    print("not-xml")
    sys.exit()
if root.tag != "{http://www.w3.org/2000/svg}svg":
    print("not-svg")
else:
    box = root.get("viewBox", "").replace(",", " ").split()
    print("x".join(box[2:4]) if len(box) == 4 else "no-viewBox")
EOF
}
for n in "${icon_sizes[@]}"; do
    png=share/icons/hicolor/${n}x$n/apps/$id.png
    if [[ -f $prefix/$png ]]; then size=$(png_size "$prefix/$png"); else size=missing; fi
    check "$png is a ${n}x$n PNG (is $size)" test "$size" = "${n}x$n"
done
if [[ -f $prefix/$svg ]]; then size=$(svg_size "$prefix/$svg"); else size=missing; fi
check "$svg is an SVG with a 32x32 viewBox (is $size)" test "$size" = 32x32

finish
