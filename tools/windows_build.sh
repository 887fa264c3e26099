#!/usr/bin/env bash
# Builds ぽこもじ for 64-bit Windows on Debian 12 and packs it: a portable zip
# and an NSIS installer under build-windows/. Run as root; missing Debian
# packages are installed.
#
# Debian has no Qt for MinGW, so the Qt modules the program uses (Core, Gui,
# Widgets with the windows platform plugin, Svg) are cross-built first from the
# same 6.4.2 sources as the host Qt: qtbase from Debian's qt6-base source
# package, qtsvg from the Qt project's own repository at tag v6.4.2 (Debian's
# qt6-svg tarball is not always served). They go into a cache outside the work
# tree, so only the first run takes long.
#
# Environment:
#   POKOMOJI_WINDOWS_CACHE  the cache folder (default /var/cache/pokomoji-windows)
#   POKOMOJI_QTSVG_SOURCE   path or URL of qtsvg at v6.4.2 as a .tar or .tar.gz
#                           whose files sit under one top folder, e.g.
#                           git -C qtsvg archive --format=tar --prefix=qtsvg-6.4.2/ v6.4.2 >qtsvg-6.4.2.tar
#                           or https://github.com/qt/qtsvg/archive/refs/tags/v6.4.2.tar.gz
#                           (needed only until the cache holds the checked copy)
# Options:
#   --qt-only               stop after the Qt build
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cache=${POKOMOJI_WINDOWS_CACHE:-/var/cache/pokomoji-windows}
tool=windows_build
# shellcheck source=packaging/qt-sources.sh
source "$root/packaging/qt-sources.sh"
qt_prefix=$cache/qt-$qt_version
toolchain=$root/cmake/mingw-w64-x86_64.cmake
jobs=$(nproc)

qt_only=false
[[ "${1:-}" == "--qt-only" ]] && qt_only=true

say() { printf '== %s\n' "$*"; }
die() { printf 'windows_build: %s\n' "$*" >&2; exit 1; }

install_missing() {
    local packages=(
        cmake ninja-build g++ pkg-config perl xz-utils ca-certificates curl
        qt6-base-dev qt6-base-private-dev qt6-svg-dev libxcb1-dev
        python3-fonttools fonts-morisawa-bizud-gothic
        g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
        dpkg-dev nsis zip
    )
    bash "$root/tools/deps.sh" --only "${packages[@]}"
}

build_qtbase() {
    if [[ -f $qt_prefix/.qtbase-complete ]]; then
        say "qtbase $qt_version for Windows: cached in $qt_prefix"
        return
    fi
    local src
    src=$(qtbase_source)
    local build=$cache/build/qtbase
    # A build folder that an interrupted run left is carried on.
    say "Building qtbase $qt_version for Windows in $build"
    # Only Core, Gui and Widgets with the windows platform plugin. Debian's
    # tarball lacks the wintab headers, hence no tablet events (the program uses
    # none). OpenGL stays on: the windows plugin of 6.4.2 does not build without.
    # Direct2D stays on too: in 6.4.2 it also brings Gui's DirectWrite font
    # database, which the windows plugin links to.
    # Every third-party library is the bundled one, so no DLL beyond Qt's own
    # and the MinGW runtime is needed.
    cmake -G Ninja -S "$src" -B "$build" \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
        -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_testlib=OFF \
        -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
        -DFEATURE_tabletevent=OFF -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
        -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
        -DFEATURE_system_doubleconversion=OFF
    cmake --build "$build" -j "$jobs"
    cmake --install "$build"
    touch "$qt_prefix/.qtbase-complete"
    say "qtbase built ($((SECONDS / 60)) min since the start)"
}

# The program from the same CMakeLists.txt as on Linux, with the MinGW
# toolchain and the cross-built Qt; moc and rcc come from the host's Qt. -O2
# as on Linux: at -O3 GCC 12 warns falsely (-Wrestrict) inside std::string.
build_program() {
    local svg2png=$1 build=$out/program
    say "Building pokomoji.exe in $build"
    cmake -G Ninja -S "$root" -B "$build" \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
        -DCMAKE_FIND_ROOT_PATH="$qt_prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DPOKOMOJI_HOST_SVG2PNG="$svg2png" -DBUILD_TESTING=OFF -DPOKOMOJI_WERROR=ON
    cmake --build "$build" -j "$jobs"
}

# The DLLs a Windows program or DLL imports by name.
imports() {
    x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'
}

# Checks that every DLL the files in a folder import is either in the folder
# or one that comes with Windows itself.
check_imports() {
    local folder=$1 file dll missing=0
    local system='^(kernel32|user32|gdi32|shell32|ole32|oleaut32|advapi32|comdlg32|imm32|winmm|ws2_32|uxtheme|dwmapi|version|netapi32|userenv|mpr|winspool\.drv|shlwapi|setupapi|wtsapi32|d3d9|d3d11|d3d12|dxgi|dwrite|d2d1|authz|msvcrt|opengl32|shcore|ntdll|rpcrt4|usp10|comctl32|api-ms-win-.*)(\.dll)?$'
    while IFS= read -r -d '' file; do
        while read -r dll; do
            [[ -f $(dirname "$file")/$dll || -f $folder/$dll ]] && continue
            [[ ${dll,,} =~ $system ]] && continue
            echo "windows_build: ${file#"$folder"/} imports $dll, which is neither beside the program nor part of Windows" >&2
            missing=1
        done < <(imports "$file")
    done < <(find "$folder" \( -iname '*.exe' -o -iname '*.dll' \) -print0)
    return $missing
}

# The folder of the zip and the installer: the program, the Qt DLLs and
# plugins it loads, the MinGW runtime and the licences.
stage_folder() {
    local stage=$1 build=$out/program
    rm -rf "$stage"
    mkdir -p "$stage/platforms" "$stage/styles" "$stage/licenses"
    cp "$build/app/pokomoji.exe" "$stage/"
    local module
    for module in Core Gui Widgets Svg; do
        cp "$qt_prefix/bin/Qt6$module.dll" "$stage/"
    done
    cp "$qt_prefix/plugins/platforms/qwindows.dll" "$stage/platforms/"
    # The native look of the push buttons and option buttons on Windows.
    cp "$qt_prefix/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
    local dll
    for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
        cp "$(x86_64-w64-mingw32-g++-posix -print-file-name="$dll")" "$stage/"
    done
    find "$stage" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
    check_imports "$stage"
    # The guide for parents and teachers, as any Notepad reads it: UTF-8 with
    # a byte order mark, CRLF line ends.
    { printf '\xef\xbb\xbf'; sed 's/$/\r/' "$root/packaging/windows/README-ja.txt"; } \
        >"$stage/README-ja.txt"

    local licenses=$stage/licenses
    cp "$root/LICENSE" "$licenses/pokomoji-LICENSE.txt"
    cp "$root/assets/fonts/OFL.txt" "$licenses/BIZ-UDPGothic-OFL.txt"
    cp "$cache/src/qtbase/LICENSES/LGPL-3.0-only.txt" "$licenses/Qt-LGPL-3.0.txt"
    cp "$cache/src/qtbase/LICENSES/GPL-3.0-only.txt" "$licenses/Qt-GPL-3.0.txt"
    cp "$cache/src/qtbase/debian/copyright" "$licenses/Qt-qtbase-copyright.txt"
    cp "$cache/src/qtsvg/src/svg/XSVG_LICENSE.txt" "$licenses/Qt-qtsvg-XSVG-LICENSE.txt"
    cp /usr/share/doc/gcc-mingw-w64-base/copyright "$licenses/MinGW-GCC-runtime-copyright.txt"
    cp /usr/share/doc/mingw-w64-common/copyright "$licenses/MinGW-w64-winpthreads-copyright.txt"
    local debian_sha256
    debian_sha256=$(sha256sum "$cache/src/qt6-base_$qtbase_debian_version.debian.tar.xz" | cut -d' ' -f1)
    cat >"$licenses/Qt-SOURCE.txt" <<EOF
Qt $qt_version in this folder
=====================

The Qt DLLs (Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll, Qt6Svg.dll,
platforms/qwindows.dll, styles/qwindowsvistastyle.dll) are Qt $qt_version under the
GNU Lesser General Public License version 3 (Qt-LGPL-3.0.txt, which adds its
permissions to Qt-GPL-3.0.txt). They are shared libraries: each can be replaced
by another build of the same Qt version, and ぽこもじ loads the replacement.

They were built for x86_64-w64-mingw32 with Debian 12's MinGW-w64 GCC from:

- qtbase: Debian's source package qt6-base $qtbase_debian_version
  (https://deb.debian.org/debian/pool/main/q/qt6-base/)
    $qtbase_orig
      sha256 $qtbase_orig_sha256
    qt6-base_$qtbase_debian_version.debian.tar.xz (Debian's patches, applied)
      sha256 $debian_sha256
  with its bundled zlib, libpng, libjpeg, FreeType, HarfBuzz, PCRE2 and
  double-conversion, whose licences Qt-qtbase-copyright.txt lists.
- qtsvg: the Qt project's repository https://code.qt.io/qt/qtsvg.git at tag
  v$qt_version (commit $qtsvg_commit); the tar of that tag
  (git archive --format=tar --prefix=qtsvg-$qt_version/ v$qt_version)
      sha256 $qtsvg_tar_sha256

The commands that built them are in tools/windows_build.sh of ぽこもじ's source.

The MinGW runtime DLLs (libstdc++-6.dll, libgcc_s_seh-1.dll,
libwinpthread-1.dll) come from Debian 12's MinGW-w64 packages; their licences
are in MinGW-GCC-runtime-copyright.txt (with the GCC Runtime Library Exception)
and MinGW-w64-winpthreads-copyright.txt.

The built-in face is cut from BIZ UDPGothic under the SIL Open Font License
(BIZ-UDPGothic-OFL.txt). ぽこもじ itself is under the MIT licence
(pokomoji-LICENSE.txt).
EOF
}

# makensis include files with the File lines and the Delete and RMDir lines
# for exactly the files of the staged folder.
nsis_file_lists() {
    local stage=$1 nsis=$2 dir file
    rm -rf "$nsis"
    mkdir -p "$nsis"
    (
        cd "$stage"
        find . -type d | sort | while read -r dir; do
            dir=${dir#.}
            dir=${dir#/}
            echo "SetOutPath \"\$INSTDIR${dir:+\\${dir//\//\\}}\""
            find "./$dir" -maxdepth 1 -type f | sort | while read -r file; do
                file=${file#./}
                echo "File \"$stage/${file#/}\""
            done
        done
        echo 'SetOutPath "$INSTDIR"'
    ) >"$nsis/install_files.nsh"
    (
        cd "$stage"
        find . -type f | sort | while read -r file; do
            file=${file#./}
            echo "Delete \"\$INSTDIR\\${file//\//\\}\""
        done
        find . -mindepth 1 -type d | sort -r | while read -r dir; do
            dir=${dir#./}
            echo "RMDir \"\$INSTDIR\\${dir//\//\\}\""
        done
    ) >"$nsis/uninstall_files.nsh"
}

install_missing
build_qtbase
build_qtsvg "$toolchain" Windows
$qt_only && exit 0

out=$root/build-windows
mkdir -p "$out"
svg2png=$(build_host_svg2png)
build_program "$svg2png"

# 1.0.0.2: the release 1.0.2 in file names, as the Debian package has it, and
# 1.00.0002 where the version is shown, as in the version record.
version_number=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/program/CMakeCache.txt")
IFS=. read -r major minor _ build <<<"$version_number"
release=$major.$minor.$build
version=$(printf '%d.%02d.%04d' "$major" "$minor" "$build")
name=pokomoji-$release
stage=$out/stage/$name
say "Collecting $stage"
stage_folder "$stage"

zip=$out/$name-windows-x64.zip
rm -f "$zip"
(cd "$out/stage" && zip -qr -X "$zip" "$name")

say "Making the installer"
nsis_file_lists "$stage" "$out/nsis"
# The picture of its welcome and finish pages, 164 x 314 as a 24-bit BMP.
"$svg2png" "$root/assets/installer.svg" "$out/nsis/installer.bmp" 1 '#ffffff' 
setup=$out/$name-setup.exe
makensis -V2 -INPUTCHARSET UTF8 \
    -DRELEASE="$release" -DVERSION="$version" -DVERSION_NUMBER="$version_number" \
    -DINSTALL_FILES="$out/nsis/install_files.nsh" -DUNINSTALL_FILES="$out/nsis/uninstall_files.nsh" \
    -DINSTALLED_KB="$(du -sk "$stage" | cut -f1)" \
    -DICON="$root/assets/pokomoji.ico" -DLICENSE="$root/LICENSE" -DOUTFILE="$setup" \
    -DPICTURE="$out/nsis/installer.bmp" \
    "$root/packaging/windows/pokomoji.nsi"

say "Made in $((SECONDS / 60)) min $((SECONDS % 60)) s:"
echo "$out/program/app/pokomoji.exe"
echo "$zip ($(du -k "$zip" | cut -f1) KiB)"
echo "$setup ($(du -k "$setup" | cut -f1) KiB)"
