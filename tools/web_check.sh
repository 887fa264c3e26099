#!/usr/bin/env bash
# Checks what tools/web_build.sh made, in Debian's Chromium, headless, and
# then in its Firefox ESR and its WebKitGTK (the engine of Safari on iPads),
# each on an Xvfb display:
# serves build-web/pokomoji on 127.0.0.1 (python3 -m http.server) and plays
# it through tests/web/check.mjs with puppeteer-core (pinned by
# tests/web/package-lock.json): the menu, a drill, a session with a wrong
# and two right answers and their scores, the seconds, the results, again,
# とじる, おわる and the page that says the program has ended; a touch tap; the
# viewports 1024 x 768, 768 x 1024 and 1366 x 768 at device pixel ratios 1
# and 2 and a phone's 390 x 844 at 3, each window whole and centred; a rotation; a reload with the server
# stopped; and that nothing was stored, no request left the origin and the
# console showed no error. Where to click comes from the program's own
# layout (tests/ui/layout_dump, built for this machine).
# Screenshots go to the folder given as the first argument (default
# build-web/screenshots). Run as root on Debian 12 after tools/web_build.sh;
# missing packages are installed.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build-web
shots=$(realpath -m "${1:-$out/screenshots}")

packages=(chromium firefox-esr webkit2gtk-driver xvfb python3 python3-pil fonts-morisawa-bizud-gothic cmake ninja-build g++
    qt6-base-dev qt6-base-private-dev qt6-svg-dev libxcb1-dev libgtest-dev)
command -v node >/dev/null && command -v npm >/dev/null || packages+=(nodejs npm)
bash "$root/tools/deps.sh" --only "${packages[@]}"

[[ -f $out/pokomoji/pokomoji.wasm ]] ||
    { echo "web_check: run tools/web_build.sh first (no $out/pokomoji/pokomoji.wasm)" >&2; exit 1; }

echo "== Where the program lays its controls out (tests/ui/layout_dump)"
cmake -G Ninja -S "$root" -B "$out/layout" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON >/dev/null
cmake --build "$out/layout" --target layout_dump >/dev/null

echo "== puppeteer-core, as tests/web/package-lock.json pins it"
(cd "$root/tests/web" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
# Debian's node finds its own modules there; a node from elsewhere needs it too.
export NODE_PATH=/usr/share/nodejs

args=("$out/pokomoji" "$out/layout/tests/ui/layout_dump" "$out/program/ui/font/regular.ttf")
failed=0
echo "== The page played in Chromium (screenshots in $shots)"
node "$root/tests/web/check.mjs" "${args[@]}" "$shots" || failed=1
# Firefox draws WebGL only with a display: it runs on an Xvfb of its own.
echo "== The page played in Firefox ESR (screenshots in $shots/firefox)"
POKOMOJI_BROWSER=firefox /usr/bin/python3 "$root/tests/display.py" --size 1400x1100 -- \
    node "$root/tests/web/check.mjs" "${args[@]}" "$shots/firefox" || failed=1
# WebKitGTK's MiniBrowser through WebKitWebDriver; the display is large
# enough for a 1366 x 768 page at twice the pixels.
echo "== The page played in WebKitGTK (screenshots in $shots/webkit)"
POKOMOJI_BROWSER=webkit /usr/bin/python3 "$root/tests/display.py" --size 2800x2200 -- \
    node "$root/tests/web/check.mjs" "${args[@]}" "$shots/webkit" || failed=1
exit $failed
