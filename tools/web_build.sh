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
        qt6-base-dev qt6-base-dev-tools qt6-svg-dev
        python3-fonttools fonts-morisawa-bizud-gothic
        emscripten dpkg-dev patch gzip brotli zip
    )
    local missing=() package
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    if ((${#missing[@]})); then
        say "Installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
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

build_qtsvg() {
    if [[ -f $qt_prefix/.qtsvg-complete ]]; then
        say "qtsvg $qt_version for the web: cached in $qt_prefix"
        return
    fi
    local tar
    tar=$(qtsvg_source)
    local src=$cache/src/qtsvg build=$cache/build/qtsvg
    rm -rf "$src" "$build"
    mkdir -p "$src"
    tar -xf "$tar" -C "$src" --strip-components=1
    say "Building qtsvg $qt_version for the web in $build"
    "$qt_prefix/bin/qt-cmake" -G Ninja -S "$src" -B "$build" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$emscripten_toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    cmake --build "$build" -j "$jobs"
    cmake --install "$build"
    touch "$qt_prefix/.qtsvg-complete"
    say "qtsvg built ($((SECONDS / 60)) min since the start)"
}

install_missing
emsdk_stand_in
build_qtbase
build_qtsvg
$qt_only && exit 0
