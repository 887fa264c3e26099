#!/usr/bin/env bash
# Checks what tools/windows_build.sh made, under Wine in Xvfb, without a
# Windows computer:
#   1. the program file's resources: icon group 1 with its 32 x 32 image of
#      8 bits per pixel first, then 16, 24, 48 and a 256-pixel PNG, and the
#      version record as the .rc gives it;
#   2. the zip: one folder with the program, its DLLs, the guide (UTF-8 with
#      a byte order mark, CRLF) and the licences only; its program played
#      through tests/xvfb_session.py in a fresh Wine prefix (menu, both
#      drills, a short session to the results, again, close, end);
#   3. full screen: a practice window on a larger screen, F11 and back; then
#      a session to its results, the drill minimised and brought back by the
#      menu's button with its results; Enter held on おわる closes it and
#      opens nothing in the menu;
#   4. the installer: its pages, a silent install into a second fresh prefix
#      with Start-menu entries for the program and the guide, the installed
#      program started, a silent uninstall, and nothing left behind.
# Screenshots go to the folder given as the first argument (default
# build-windows/wine-screenshots). Run as root on Debian 12 after
# tools/windows_build.sh; missing packages are installed.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build-windows
shots=$(realpath -m "${1:-$out/wine-screenshots}")

packages=(wine wine64 xvfb xauth xdotool openbox imagemagick python3 python3-pil python3-pefile unzip x11-utils)
bash "$root/tools/deps.sh" --only "${packages[@]}"

shopt -s nullglob
zips=("$out"/pokomoji-*-windows-x64.zip)
setups=("$out"/pokomoji-*-setup.exe)
shopt -u nullglob
((${#zips[@]} == 1 && ${#setups[@]} == 1)) ||
    { echo "windows_check: run tools/windows_build.sh first (no single zip and installer in $out)" >&2; exit 1; }
zip=${zips[0]}
setup=${setups[0]}
name=$(basename "$zip" -windows-x64.zip)

version=$(grep -o '"FileVersion", *"[^"]*"' "$out/program/pokomoji.rc" | cut -d'"' -f4)

work=$(mktemp -d "${TMPDIR:-/tmp}/pokomoji-wine.XXXXXX")
cleanup() {
    for prefix in "$work"/prefix-*; do
        [[ -d $prefix ]] && WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$shots" "$work/home"
# Wine links the Windows user folders (Desktop, Documents) into $HOME: a home
# of its own keeps the check's shortcuts off this machine's desktop. No menu
# entries for this machine's desktop either, and no offer to install Gecko or
# Mono.
export HOME=$work/home WINEDEBUG=-all WINEARCH=win64 \
    WINEDLLOVERRIDES="winemenubuilder.exe=d;mshtml=d;mscoree=d"
export PYTHONIOENCODING=utf-8 PYTHONPATH=$root/tests

failed=0
pass() { echo "PASS $*"; }
fail() { echo "FAIL $*"; failed=1; }

new_prefix() {
    export WINEPREFIX=$work/prefix-$1
    wine wineboot --init >/dev/null 2>&1
    wineserver -w
}

echo "== Resources of pokomoji.exe"
unzip -q "$zip" -d "$work/zip"
exe=$work/zip/$name/pokomoji.exe
/usr/bin/python3 - "$exe" "$out/program/pokomoji.rc" "$version" <<'PYTHON' || failed=1
import re
import struct
import sys

import pefile

exe, rc, version = sys.argv[1:]
failures = 0


def check(name, ok, detail=""):
    global failures
    print(("PASS " if ok else "FAIL ") + name + ("" if ok else f": {detail}"))
    failures += not ok


pe = pefile.PE(exe)
check("a windowed program (GUI subsystem, no console)",
      pe.OPTIONAL_HEADER.Subsystem == pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"],
      f"subsystem {pe.OPTIONAL_HEADER.Subsystem}")
resources = {entry.id: entry for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries}


def data(type_id, name_id):
    for entry in resources[type_id].directory.entries:
        if entry.id == name_id:
            leaf = entry.directory.entries[0].data.struct
            return pe.get_data(leaf.OffsetToData, leaf.Size)
    return None


group = data(pefile.RESOURCE_TYPE["RT_GROUP_ICON"], 1)
check("icon group 1", group is not None)
if group:
    _, kind, count = struct.unpack_from("<HHH", group)
    images = [struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i) for i in range(count)]
    first = images[0]
    check("its first image is 32 x 32 with 256 colours, 8 bits per pixel",
          first[0] == 32 and first[1] == 32 and first[2] == 0 and first[5] == 8, f"{first}")
    # Then an image drawn for each size Windows shows: 16, 24 and 48 pixels
    # in 8 bits, 256 (stored as 0) as a PNG.
    sizes = [(width or 256, bits) for width, _, _, _, _, bits, _, _ in images]
    check("then 16, 24 and 48 pixels in 8 bits and 256 in 32",
          sizes == [(32, 8), (16, 8), (24, 8), (48, 8), (256, 32)], f"{sizes}")
    large = data(pefile.RESOURCE_TYPE["RT_ICON"], images[-1][7])
    check("the 256-pixel image is a PNG", bool(large) and large.startswith(b"\x89PNG"))
    icon = data(pefile.RESOURCE_TYPE["RT_ICON"], first[7])
    header = struct.unpack_from("<IiiHH", icon) if icon else None
    check("the image itself: 32 x 32 (with its mask), 8 bits per pixel",
          header == (40, 32, 64, 1, 8), f"{header}")

check("a version record", hasattr(pe, "VS_FIXEDFILEINFO"))
fixed = pe.VS_FIXEDFILEINFO[0]
numbers = (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
           fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF)
check("file version 1.0.0.2", numbers == (1, 0, 0, 2), f"{numbers}")
product = (fixed.ProductVersionMS >> 16, fixed.ProductVersionMS & 0xFFFF,
           fixed.ProductVersionLS >> 16, fixed.ProductVersionLS & 0xFFFF)
check("product version 1.0.0.2", product == (1, 0, 0, 2), f"{product}")
check("an application (VFT_APP) for 32-bit Windows (VOS__WINDOWS32)",
      fixed.FileType == 1 and fixed.FileOS == 4, f"type {fixed.FileType}, os {fixed.FileOS}")

tables = {}
translations = []
for info in pe.FileInfo[0]:
    if info.Key == b"StringFileInfo":
        for table in info.StringTable:
            tables[table.LangID.decode()] = {k.decode(): v.decode() for k, v in table.entries.items()}
    elif info.Key == b"VarFileInfo":
        translations = [var.entry for var in info.Var]
check("one string table, Japanese in Unicode (041104B0)",
      [lang.upper() for lang in tables] == ["041104B0"], f"{list(tables)}")
strings = next(iter(tables.values()), {})
with open(rc, encoding="utf-8") as f:
    wanted = dict(re.findall(r'^\s*VALUE "(\w+)",\s*"([^"]*)"', f.read(), re.M))
check("the strings of the .rc, no more and no fewer", strings == wanted,
      f"\n  in the file: {strings}\n  in the .rc:  {wanted}")
check(f"FileVersion and ProductVersion read {version}",
      strings.get("FileVersion") == version and strings.get("ProductVersion") == version)
check("the translation entry names Japanese and Unicode",
      translations == [{b"Translation": "0x0411 0x04b0"}], f"{translations}")
print(f"resources: {failures} failed")
sys.exit(1 if failures else 0)
PYTHON

echo "== The zip holds one folder with the program, its DLLs, the guide and the licences"
unexpected=$(cd "$work/zip" && find . -type f | sed 's|^\./||' | grep -Ev \
    "^$name/([^/]+\.(exe|dll)|README-ja\.txt|platforms/qwindows\.dll|styles/qwindowsvistastyle\.dll|licenses/[^/]+\.txt)$" || true)
[[ -z $unexpected ]] && pass "nothing else in the zip" || fail "unexpected files in the zip: $unexpected"
top=$(cd "$work/zip" && ls -A)
[[ $top == "$name" ]] && pass "one folder, $name" || fail "the zip's top level: $top"
guide=$work/zip/$name/README-ja.txt
if [[ -f $guide ]]; then
    # Notepad reads it at once: UTF-8 with a byte order mark, every line CRLF.
    [[ $(head -c 3 "$guide" | od -An -tx1 | tr -d ' ') == efbbbf ]] &&
        [[ $(grep -c $'\r$' "$guide") == $(wc -l <"$guide") ]] &&
        iconv -f UTF-8 -t UTF-8 "$guide" >/dev/null &&
        pass "the guide README-ja.txt: UTF-8 with a byte order mark, CRLF lines" ||
        fail "the guide's encoding or line ends"
    grep -q 'pokomoji.exe' "$guide" && grep -q '詳細情報' "$guide" && grep -q 'アンインストール' "$guide" &&
        pass "the guide names the program file, what to do at the SmartScreen warning and removal" ||
        fail "the guide lacks the program file, the SmartScreen steps or removal"
else
    fail "no guide README-ja.txt at the zip's top"
fi
for file in pokomoji.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6Svg.dll platforms/qwindows.dll \
    libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll licenses/Qt-LGPL-3.0.txt \
    licenses/Qt-SOURCE.txt licenses/BIZ-UDPGothic-OFL.txt licenses/pokomoji-LICENSE.txt; do
    [[ -f $work/zip/$name/$file ]] || fail "the zip lacks $file"
done

echo "== The zip's program played under Wine (screenshots in $shots)"
# The scripts click where the program's own layout puts the controls.
cmake -G Ninja -S "$root" -B "$out/layout" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON >/dev/null
cmake --build "$out/layout" --target layout_dump >/dev/null
layout=$out/layout/tests/ui/layout_dump
new_prefix zip
# A read-only folder, as on a share or a locked USB stick: the program writes
# nothing beside itself.
chmod -R a-w "$work/zip"
/usr/bin/python3 "$root/tests/xvfb_session.py" "$exe" "$layout" "$shots" --launcher wine \
    --font "$out/program/ui/font/regular.ttf" || fail "the session under Wine"
wineserver -k 2>/dev/null || true
chmod -R u+w "$work/zip"

# Wine asks the window manager for full screen: openbox does it here.
echo "== Full screen and a minimised drill under Wine on a 1280 x 1024 screen with openbox"
/usr/bin/python3 - "$exe" "$shots" "$layout" <<'PYTHON' || fail "full screen under Wine"
import sys
import time

from display import Display, Layout, check, summary, wait_for

exe, shots, dump = sys.argv[1:]
layout = Layout(dump)
left, top = 128, 128  # the drill centred on the screen


def white(image, x, y):
    return all(v >= 250 for v in image.getpixel((x, y)))


def black(image, x, y):
    return image.getpixel((x, y)) == (0, 0, 0)


def results(image):
    x, y = layout.centre("Command1", 12)  # a chart button the results panel covers
    return image.getpixel((left + x, top + y)) == (255, 192, 192)


with Display((1280, 1024), manager=True, outdir=shots) as d:
    menu = check("the menu opens", d.start(["wine", exe], QT_QPA_PLATFORM=None))
    # Enter on the menu, again until the drill shows: the first may come
    # before the menu has its focus.
    check("Enter opens the katakana drill",
          wait_for(lambda: d.key("Return", window=menu) or wait_for(lambda: d.window("Form2"), 2), 30))
    # 1024 x 768 in the middle of the black screen: black in the corner.
    check("the practice window is 1024 x 768, centred", d.wait_image(
        lambda i: black(i, 5, 5) and white(i, left + 5, top + 763) and black(i, left + 1030, top + 5),
        10, "wine-window-1280x1024"))
    d.key("F11")
    check("F11: full screen, the corners white",
          d.wait_image(lambda i: white(i, 5, 5) and white(i, 1274, 1018), 10, "wine-fullscreen"))
    d.key("F11")
    check("F11 again: back to 1024 x 768",
          d.wait_image(lambda i: black(i, 5, 5), 10, "wine-fullscreen-left"))

    # A session to its results, the drill minimised, the menu's button: the
    # same drill comes back with its results up. ストップ is pressed until the
    # results are up: it does nothing before Escape has pressed スタート.
    d.key("Escape")
    x, y = layout.centre("Command4")
    check("ストップ brings the results up",
          wait_for(lambda: d.click(left + x, top + y) or d.wait_image(results, 1, "wine-results"), 10))
    d.run("xdotool", "windowminimize", d.window("Form2"))
    wait_for(lambda: not d.window("Form2"), 10)
    check("the drill is minimised", not results(d.image(name="wine-minimised")))
    d.key("Return", window=menu)  # the katakana drill's button has the focus
    check("the menu's button brings the minimised drill back with its results",
          d.wait_image(results, 10, "wine-brought-back"))

    # Enter held on おわる: Windows repeats a held key too. The drill closes
    # and the repeats open nothing in the menu. The drill brought back is
    # given a moment to become the active window first.
    time.sleep(1)
    d.key("Tab", window=d.window("Form2"))  # from もういちどする to おわる
    time.sleep(0.5)
    d.run("xdotool", "keydown", "Return", "sleep", "1.5", "keyup", "Return")
    check("Enter held on おわる closes the drill", wait_for(lambda: not d.window("Form2"), 10))
    check("and opens nothing in the menu", not wait_for(lambda: d.window("Form2"), 3))
    d.image(name="wine-held-enter")
sys.exit(summary())
PYTHON
wineserver -k 2>/dev/null || true

echo "== The installer: its pages, silent install, the installed program, silent uninstall"
new_prefix setup
drive_c=$WINEPREFIX/drive_c
# Wine has no Japanese face of its own. In this prefix "ＭＳ Ｐゴシック", the
# face of the installer's Japanese texts and of the drill's where Windows has
# it, stands for BIZ UDPGothic, as a Japanese Windows would provide it.
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"ＭＳ Ｐゴシック"="BIZ UDPGothic"\r\n' |
    iconv -f UTF-8 -t UTF-16 >"$work/font.reg"
wine regedit /S "$(winepath -w "$work/font.reg")"
wineserver -w
/usr/bin/python3 - "$setup" "$shots" <<'PYTHON' || fail "the installer's pages"
import sys

from display import Display, check, summary, wait_for

setup, shots = sys.argv[1:]
with Display((1024, 768), outdir=shots) as d:
    d.start(["wine", setup], seconds=0, QT_QPA_PLATFORM=None)
    if check("the installer's window is titled ぽこもじ セットアップ",
             wait_for(lambda: d.window("ぽこもじ セットアップ"), 30)):
        # Welcome, licence, components: the Japanese texts on each, taken
        # once the page has come up and holds still.
        shown = None
        for page in ("installer-welcome", "installer-license", "installer-components"):
            shown = wait_for(lambda: (image := d.image()) != shown and image, 10, hold=1.0)
            d.image(name=page)
            d.key("Return")
    d.run("wineserver", "-k")
sys.exit(summary())
PYTHON
[[ -z $(find "$drive_c" -iname 'pokomoji' -o -name 'ぽこもじ.lnk') ]] ||
    fail "the installer left files after it was closed on its components page"
wine "$setup" /S || fail "the installer's exit status"
wineserver -w
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\jp.pokomoji.Pokomoji'
user_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\jp.pokomoji.Pokomoji'
registered() {
    wine reg export "$1" "$work/key.reg" /y >/dev/null 2>&1 &&
        iconv -f UTF-16 -t UTF-8 "$work/key.reg" | tr -d '\r'
}
# Wine's user counts as an administrator: the installer installs for all users.
record=$(registered "$key" || registered "$user_key" || true)
if [[ -n $record ]]; then
    pass "registered in Apps & features"
    printf '%s\n' "$record" | grep -E '^"(DisplayName|DisplayVersion|InstallLocation|QuietUninstallString)"' | sed 's/^/     /'
else
    fail "no uninstall key"
fi
grep -qx '"DisplayName"="ぽこもじ"' <<<"$record" && pass "its name ぽこもじ" || fail "its DisplayName"
grep -qx "\"DisplayVersion\"=\"$version\"" <<<"$record" && pass "its version $version" || fail "its DisplayVersion"
location=$(sed -n 's/^"InstallLocation"="\(.*\)"$/\1/p' <<<"$record" | sed 's/\\\\/\\/g')
installed=$(winepath -u "$location" 2>/dev/null || true)
[[ -n $installed && -f $installed/pokomoji.exe ]] && pass "installed in $location" ||
    fail "no pokomoji.exe in '$location'"
diff <(cd "$work/zip/$name" && find . -type f | sort) \
    <(cd "$installed" && find . -type f ! -name uninstall.exe | sort) >/dev/null &&
    pass "the installed files are the zip's" || fail "the installed files differ from the zip's"
menu_links=$(find "$drive_c" -path '*Start Menu/Programs/ぽこもじ.lnk')
desktop_links=$(find "$drive_c" "$HOME" -path '*Desktop/ぽこもじ.lnk' 2>/dev/null)
[[ -n $menu_links ]] && pass "a Start-menu entry" || fail "no Start-menu entry"
[[ -n $(find "$drive_c" -path '*Start Menu/Programs/ぽこもじ の つかいかた.lnk') ]] &&
    pass "a Start-menu entry for the guide" || fail "no Start-menu entry for the guide"
[[ -n $desktop_links ]] && pass "a desktop shortcut" || fail "no desktop shortcut"

echo "-- the installed program, played once more, with \"ＭＳ Ｐゴシック\" there"
/usr/bin/python3 "$root/tests/xvfb_session.py" "$installed/pokomoji.exe" "$layout" "$shots/installed" \
    --launcher wine --questions 1 --font "$out/program/ui/font/regular.ttf" >"$work/installed.log" 2>&1 &&
    pass "the installed program runs a session ($(tail -1 "$work/installed.log"))" ||
    { cat "$work/installed.log"; fail "the installed program"; }
wineserver -k 2>/dev/null || true

quiet=$(sed -n 's/^"QuietUninstallString"="\(.*\)"$/\1/p' <<<"$record" | sed 's/\\"/"/g; s/\\\\/\\/g')
uninstaller=$(sed -n 's/^"\([^"]*\)".*/\1/p' <<<"$quiet")
read -r -a uninstall_options <<<"$(sed 's/^"[^"]*" *//' <<<"$quiet")"
wine "$uninstaller" "${uninstall_options[@]}" || fail "the uninstaller's exit status"
# The uninstaller copies itself to a temporary folder and runs from there.
wineserver -w
[[ ! -e $installed ]] && pass "the program folder is gone" || fail "left behind: $(find "$installed")"
[[ -z $(find "$drive_c" -path '*Start Menu/Programs/ぽこもじ.lnk') ]] &&
    pass "the Start-menu entry is gone" || fail "the Start-menu entry is left"
[[ -z $(find "$drive_c" "$HOME" -path '*Desktop/ぽこもじ.lnk' 2>/dev/null) ]] &&
    pass "the desktop shortcut is gone" || fail "the desktop shortcut is left"
if registered "$key" >/dev/null || registered "$user_key" >/dev/null; then
    fail "the uninstall key is left"
else
    pass "the uninstall key is gone"
fi
left=$(find "$drive_c" "$HOME" -iname '*pokomoji*' -o -name '*ぽこもじ*' 2>/dev/null | grep -v '/Temp/' || true)
[[ -z $left ]] && pass "no file named after the program is left" || fail "left behind: $left"

echo "-- for the current user only (/CurrentUser), as without administrator rights"
wine "$setup" /S /CurrentUser || fail "the installer's exit status"
wineserver -w
record=$(registered "$user_key" || true)
[[ -n $record ]] && pass "registered for the current user (HKCU)" || fail "no uninstall key in HKCU"
! registered "$key" >/dev/null && pass "nothing registered for all users" || fail "an uninstall key in HKLM"
location=$(sed -n 's/^"InstallLocation"="\(.*\)"$/\1/p' <<<"$record" | sed 's/\\\\/\\/g')
installed=$(winepath -u "$location" 2>/dev/null || true)
[[ $location == *'\AppData\Local\Programs\Pokomoji' && -f $installed/pokomoji.exe ]] &&
    pass "installed in $location" || fail "no pokomoji.exe in the user's programs folder ('$location')"
quiet=$(sed -n 's/^"QuietUninstallString"="\(.*\)"$/\1/p' <<<"$record" | sed 's/\\"/"/g; s/\\\\/\\/g')
uninstaller=$(sed -n 's/^"\([^"]*\)".*/\1/p' <<<"$quiet")
read -r -a uninstall_options <<<"$(sed 's/^"[^"]*" *//' <<<"$quiet")"
wine "$uninstaller" "${uninstall_options[@]}" || fail "the uninstaller's exit status"
wineserver -w
registered "$user_key" >/dev/null && fail "the uninstall key is left" || pass "the uninstall key is gone"
left=$(find "$drive_c" "$HOME" -iname '*pokomoji*' -o -name '*ぽこもじ*' 2>/dev/null | grep -v '/Temp/' || true)
[[ -z $left ]] && pass "nothing is left" || fail "left behind: $left"

echo "Screenshots: $shots"
if ((failed)); then
    echo "windows_check: FAILED"
    exit 1
fi
echo "windows_check: all passed"
