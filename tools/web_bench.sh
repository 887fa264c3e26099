#!/usr/bin/env bash
# Measures ぽこもじ's web page against a bare Qt Widgets page (one button,
# bench/web/bare_page.cpp) built with the same cached Qt for WebAssembly and
# loaded by the same page, in headless Chromium on 127.0.0.1, and prints one
# table: the bytes each page loads, raw, as gzip and as brotli, and the time
# from the navigation to the first paint of its window (medians of runs that
# take turns at which page goes first, each in a fresh browser profile), a
# second start of the program from its service worker's copy, and presses on
# a drill's chart until the frame that shows their mark.
# Run after tools/web_build.sh, which leaves the program and the Qt cache.
#
#   bash tools/web_bench.sh [RUNS]   # RUNS of each page, default 7
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build-web
cache=${POKOMOJI_WEB_CACHE:-/var/cache/pokomoji-web}
runs=${1:-7}
qt_prefix=$cache/qt-6.4.2
say() { printf '== %s\n' "$*"; }

[[ -f $out/pokomoji/pokomoji.wasm && -x $out/host/ui/svg2png ]] ||
    { echo "web_bench: run tools/web_build.sh first" >&2; exit 1; }
export EMSDK=$cache/emsdk NODE_PATH=/usr/share/nodejs

say "The bare page, with the same Qt and the same link settings"
"$qt_prefix/bin/qt-cmake" -G Ninja -S "$root/bench/web" -B "$out/bare-build" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
    -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build "$out/bare-build" >/dev/null
# shellcheck source=packaging/web/stage.sh
source "$root/packaging/web/stage.sh"
stage_page "$out/bare/pokomoji" "$out/bare-build/bare_page.js" "$out/bare-build/bare_page.wasm" \
    "$out/host/ui/svg2png" bare

say "Where the program lays its controls out (tests/ui/layout_dump)"
cmake -G Ninja -S "$root" -B "$out/layout" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON >/dev/null
cmake --build "$out/layout" --target layout_dump >/dev/null

(cd "$root/tests/web" && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
say "Both pages in Chromium, $runs runs each"
node "$root/bench/web/bench.mjs" "$out/pokomoji" "$out/bare/pokomoji" "$runs" \
    "$out/layout/tests/ui/layout_dump"
