#!/usr/bin/env bash
# Builds the engine (drill/) and its GoogleTest tests for 64-bit Windows with
# MinGW-w64 and runs them under Wine: the engine behaves the same on Windows.
#
# Usage: windows_engine.sh <source dir> <build dir>
# Exit status 77 (skipped) where MinGW-w64, Wine or GoogleTest's source is missing.
set -euo pipefail

source=$1
build=$2
compiler=x86_64-w64-mingw32-g++-posix
command -v "$compiler" >/dev/null || { echo "SKIP: $compiler not found (g++-mingw-w64-x86-64-posix)"; exit 77; }
command -v wine >/dev/null || { echo "SKIP: wine not found (wine64)"; exit 77; }
[[ -f /usr/src/googletest/googletest/CMakeLists.txt ]] ||
    { echo "SKIP: GoogleTest's source not found (googletest)"; exit 77; }

# Wine keeps its prefix, and links its user folders into $HOME, in the build
# folder; no menu entries, no offer to install Gecko or Mono.
mkdir -p "$build/home"
export WINEPREFIX=$build/wineprefix HOME=$build/home WINEDEBUG=-all WINEARCH=win64 \
    WINEDLLOVERRIDES="winemenubuilder.exe=d;mshtml=d;mscoree=d"
trap 'wineserver -k 2>/dev/null || true' EXIT

# Linked statically, the test programs need no MinGW DLL beside them. -O2 as
# in the Linux build: at -O3 GCC 12 warns falsely (-Wrestrict) in std::string.
cmake -G Ninja -S "$source" -B "$build/engine" \
    -DCMAKE_TOOLCHAIN_FILE="$source/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DPOKOMOJI_ENGINE_ONLY=ON -DPOKOMOJI_WERROR=ON \
    -DCMAKE_EXE_LINKER_FLAGS=-static -DCMAKE_CROSSCOMPILING_EMULATOR=wine >/dev/null
cmake --build "$build/engine"
if [[ ! -f $WINEPREFIX/system.reg ]]; then
    wine wineboot --init >/dev/null 2>&1
    wineserver -w
fi
ctest --test-dir "$build/engine" --output-on-failure
