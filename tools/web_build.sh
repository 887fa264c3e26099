#!/usr/bin/env bash
# Builds ぽこもじ for the web (WebAssembly) on Debian 12: a static folder
# build-web/pokomoji/ that any web server can serve, and its zip
# build-web/pokomoji-<version>-web.zip. Run as root; missing Debian packages
# are installed.
#
# Debian has no Qt for WebAssembly, so the Qt modules the program uses (Core,
# Gui, Widgets, Svg) are built first with Debian's emscripten from the same
# 6.4.2 sources as the Windows build, as static libraries, with every module
# and feature the program does not use left out and optimised for size. They
# go into a cache outside the work tree, so only the first run takes long.
#
# Environment:
#   POKOMOJI_WEB_CACHE     the cache folder (default /var/cache/pokomoji-web)
#   POKOMOJI_QTSVG_SOURCE  qtsvg at v6.4.2 as a .tar or .tar.gz, as for
#                          tools/windows_build.sh (needed only until the cache
#                          holds the checked copy)
# Options:
#   --qt-only              stop after the Qt build
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cache=${POKOMOJI_WEB_CACHE:-/var/cache/pokomoji-web}
tool=web_build
# shellcheck source=packaging/qt-sources.sh
source "$root/packaging/qt-sources.sh"
qt_prefix=$cache/qt-$qt_version
emscripten_toolchain=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
jobs=$(nproc)

qt_only=false
[[ "${1:-}" == "--qt-only" ]] && qt_only=true

say() { printf '== %s\n' "$*"; }
die() { printf 'web_build: %s\n' "$*" >&2; exit 1; }

install_missing() {
    local packages=(
        cmake ninja-build g++ pkg-config perl xz-utils ca-certificates curl
        qt6-base-dev qt6-base-dev-tools qt6-base-private-dev qt6-svg-dev libxcb1-dev
        python3-fonttools fonts-morisawa-bizud-gothic
        emscripten dpkg-dev patch gzip brotli zip
    )
    bash "$root/tools/deps.sh" --only "${packages[@]}"
}

# Qt finds emscripten through $EMSDK: a folder with a .emscripten that names
# the emscripten root inside it and that root's emcc. Debian's emscripten has
# no such folder, so a stand-in in the cache points at Debian's emcc.
emsdk_stand_in() {
    export EMSDK=$cache/emsdk
    if [[ ! -x $EMSDK/emscripten/emcc ]]; then
        mkdir -p "$EMSDK/emscripten"
        echo "EMSCRIPTEN_ROOT = 'emscripten'" >"$EMSDK/.emscripten"
        ln -sf /usr/bin/emcc "$EMSDK/emscripten/emcc"
    fi
    # emcc's JavaScript optimiser needs acorn, which Debian keeps here.
    export NODE_PATH=/usr/share/nodejs
}

build_qtbase() {
    if [[ -f $qt_prefix/.qtbase-complete ]]; then
        say "qtbase $qt_version for the web: cached in $qt_prefix"
        return
    fi
    local src
    src=$(qtbase_source)
    # The patches for the web, each applied once; each says why.
    local patch
    for patch in "$root"/packaging/web/qtbase-*.patch; do
        [[ -f $src/.applied-${patch##*/} ]] && continue
        patch -d "$src" -p1 --forward --quiet <"$patch"
        touch "$src/.applied-${patch##*/}"
    done
    local build=$cache/build/qtbase
    say "Building qtbase $qt_version for the web in $build"
    # Static and without threads, as Qt for WebAssembly is built to run in
    # any browser without special server headers. OpenGL stays: Qt 6.4 draws
    # its windows on the page through WebGL. The MIME database is left out
    # (the program opens no files), and so is everything that talks to a
    # network, a database, a printer or a bus.
    cmake -G Ninja -S "$src" -B "$build" \
        -DCMAKE_TOOLCHAIN_FILE="$emscripten_toolchain" -DQT_QMAKE_TARGET_MKSPEC=wasm-emscripten \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DFEATURE_optimize_size=ON \
        -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_thread=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
        -DFEATURE_testlib=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF \
        -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF \
        -DFEATURE_androiddeployqt=OFF -DFEATURE_mimetype_database=OFF \
        -DFEATURE_sessionmanager=OFF -DFEATURE_imageformat_bmp=OFF -DFEATURE_imageformat_ppm=OFF \
        -DFEATURE_imageformat_xbm=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF \
        -DFEATURE_pdf=OFF
    cmake --build "$build" -j "$jobs"
    cmake --install "$build"
    touch "$qt_prefix/.qtbase-complete"
    say "qtbase built ($((SECONDS / 60)) min since the start)"
}

# The program from the same CMakeLists.txt as on the desktop, with Qt's
# toolchain for the web (qt-cmake) chained to emscripten's, optimised for
# size. cmake/web.cmake adds the link settings of the page.
build_program() {
    local svg2png=$1 build=$out/program
    say "Building the program for the web in $build"
    "$qt_prefix/bin/qt-cmake" -G Ninja -S "$root" -B "$build" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$emscripten_toolchain" \
        -DCMAKE_BUILD_TYPE=MinSizeRel -DPOKOMOJI_HOST_SVG2PNG="$svg2png" -DBUILD_TESTING=OFF \
        >/dev/null
    cmake --build "$build" -j "$jobs"
}

# The licences that go with the folder: the program's, the face's, and Qt's,
# which is linked in statically (LGPL-3: its sources and the way to build the
# module again are named).
add_licenses() {
    local licenses=$1/licenses
    mkdir -p "$licenses"
    cp "$root/LICENSE" "$licenses/pokomoji-LICENSE.txt"
    cp "$root/assets/fonts/OFL.txt" "$licenses/BIZ-UDPGothic-OFL.txt"
    cp "$cache/src/qtbase/LICENSES/LGPL-3.0-only.txt" "$licenses/Qt-LGPL-3.0.txt"
    cp "$cache/src/qtbase/LICENSES/GPL-3.0-only.txt" "$licenses/Qt-GPL-3.0.txt"
    cp "$cache/src/qtbase/debian/copyright" "$licenses/Qt-qtbase-copyright.txt"
    cat >"$licenses/Qt-SOURCE.txt" <<EOF
Qt $qt_version in pokomoji.wasm
===========================

pokomoji.wasm holds Qt $qt_version (Core, Gui, Widgets, Svg and the wasm platform
plugin), linked in statically, under the GNU Lesser General Public License
version 3 (Qt-LGPL-3.0.txt, which adds its permissions to Qt-GPL-3.0.txt).
They were built with Debian 12's emscripten from:

- qtbase: Debian's source package qt6-base $qtbase_debian_version
  (https://deb.debian.org/debian/pool/main/q/qt6-base/), $qtbase_orig
  sha256 $qtbase_orig_sha256, with Debian's patches and
  packaging/web/qtbase-fonts.patch of ぽこもじ's source applied;
- qtsvg: https://code.qt.io/qt/qtsvg.git at tag v$qt_version
  (commit $qtsvg_commit), tar sha256 $qtsvg_tar_sha256.

ぽこもじ's source is free (MIT); tools/web_build.sh in it builds Qt and the
module again, so the module can be relinked with a changed Qt.
The built-in face is cut from BIZ UDPGothic (BIZ-UDPGothic-OFL.txt).
EOF
}

install_missing
emsdk_stand_in
build_qtbase
build_qtsvg "$emscripten_toolchain" "the web"
$qt_only && exit 0

out=$root/build-web
mkdir -p "$out"
svg2png=$(build_host_svg2png)
build_program "$svg2png"

version_number=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/program/CMakeCache.txt")
IFS=. read -r major minor _ build <<<"$version_number"
release=$major.$minor.$build
folder=$out/pokomoji
say "Collecting $folder"
# shellcheck source=packaging/web/stage.sh
source "$root/packaging/web/stage.sh"
stage_page "$folder" "$out/program/app/pokomoji.js" "$out/program/app/pokomoji.wasm" "$svg2png" \
    "$release"
add_licenses "$folder"

zip=$out/pokomoji-$release-web.zip
rm -f "$zip"
(cd "$out" && zip -qr -X "$zip" pokomoji)

size() { printf '%s KiB' "$(($(stat -c %s "$1") / 1024))"; }
say "Made in $((SECONDS / 60)) min $((SECONDS % 60)) s:"
for file in pokomoji.wasm pokomoji.js; do
    echo "$folder/$file: $(size "$folder/$file"), gzip $(size "$folder/$file.gz"), brotli $(size "$folder/$file.br")"
done
echo "$zip ($(size "$zip"))"
echo "Try it: (cd $folder && python3 -m http.server --bind 127.0.0.1 8000), then http://127.0.0.1:8000/"
