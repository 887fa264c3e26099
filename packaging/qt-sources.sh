# The Qt 6.4.2 sources that the Windows and web builds compile: Debian's
# qt6-base source package (the same as the host Qt's) and qtsvg at tag v6.4.2.
# Sourced by tools/windows_build.sh and tools/web_build.sh, which set $cache
# (where the sources are kept), $tool (the name their messages start with),
# $qt_prefix, $jobs, $root and $out, and define say and die; the steps both
# builds take are here too.

qt_version=6.4.2
# Debian's qt6-base source, and the uncompressed tar of qtsvg's tag v6.4.2
# and the commit it names.
qtbase_debian_version=6.4.2+dfsg-10
qtbase_orig=qt6-base_6.4.2+dfsg.orig.tar.xz
qtbase_orig_sha256=4f14b89a9463a540fd84a6718b8519a2297119b454ef547721015a9e9019ae9e
qtsvg_tar_sha256=61275c69ade87f192ad704ba474f9b29795a541a68021cce586f041f4f7368d8
qtsvg_commit=54066fe644f2c9f7789c61b4fcb4d513eb3f775c

# Fetches Debian's qt6-base source through a private apt configuration (a
# deb-src line of its own), so the machine's own package sources stay as they
# are, and unpacks it with Debian's patches applied.
qtbase_source() {
    local dir=$cache/src/qtbase
    if [[ -f $dir/.unpacked ]]; then
        echo "$dir"
        return
    fi
    local apt=$cache/apt
    mkdir -p "$apt/lists/partial" "$cache/src"
    local mirror
    mirror=$(awk '/^URIs:/ && $2 ~ /\/debian$/ {print $2; exit}' \
        /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
    mirror=${mirror:-http://deb.debian.org/debian}
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror bookworm main" \
        >"$apt/sources.list"
    local options=(-o "Dir::Etc::SourceList=$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
        -o "Dir::State::Lists=$apt/lists" -o APT::Sandbox::User=root)
    apt-get "${options[@]}" update -qq >&2
    (cd "$cache/src" && apt-get "${options[@]}" source --download-only \
        "qt6-base=$qtbase_debian_version" >&2)
    echo "$qtbase_orig_sha256  $cache/src/$qtbase_orig" | sha256sum -c --quiet - >&2 ||
        die "$cache/src/$qtbase_orig does not have the recorded checksum"
    rm -rf "$dir"
    dpkg-source --no-check -x "$cache/src/qt6-base_$qtbase_debian_version.dsc" "$dir" >&2
    touch "$dir/.unpacked"
    echo "$dir"
}

# Puts the checked qtsvg tar into the cache and prints its path.
qtsvg_source() {
    local tar=$cache/src/qtsvg-$qt_version.tar
    if [[ -f $tar ]] && echo "$qtsvg_tar_sha256  $tar" | sha256sum -c --quiet - >/dev/null 2>&1; then
        echo "$tar"
        return
    fi
    local given=${POKOMOJI_QTSVG_SOURCE:-}
    if [[ -z $given ]]; then
        cat >&2 <<EOF
$tool: the source of qtsvg $qt_version is missing.
  Give it as a tar of the tag v$qt_version of https://code.qt.io/qt/qtsvg.git (or its
  GitHub mirror https://github.com/qt/qtsvg), for example:
    git clone --bare https://github.com/qt/qtsvg.git qtsvg.git
    git -C qtsvg.git archive --format=tar --prefix=qtsvg-$qt_version/ v$qt_version >/tmp/qtsvg-$qt_version.tar
    POKOMOJI_QTSVG_SOURCE=/tmp/qtsvg-$qt_version.tar bash tools/$tool.sh
  or POKOMOJI_QTSVG_SOURCE=https://github.com/qt/qtsvg/archive/refs/tags/v$qt_version.tar.gz
  Its uncompressed tar must have the sha256 $qtsvg_tar_sha256.
EOF
        exit 1
    fi
    mkdir -p "$cache/src"
    local download=$cache/src/qtsvg-download
    if [[ $given =~ ^https?:// ]]; then
        curl -fsSL "$given" -o "$download"
    else
        [[ -f $given ]] || die "POKOMOJI_QTSVG_SOURCE: no file $given"
        cp "$given" "$download"
    fi
    # The checksum is the one of the uncompressed tar, the same for a local
    # git archive and for the archive that GitHub serves for the tag.
    if gzip -t "$download" 2>/dev/null; then
        gzip -dc "$download" >"$tar.part"
    else
        mv "$download" "$tar.part"
    fi
    rm -f "$download"
    local sum
    sum=$(sha256sum "$tar.part" | cut -d' ' -f1)
    if [[ $sum != "$qtsvg_tar_sha256" ]]; then
        rm -f "$tar.part"
        die "$given is not qtsvg v$qt_version: its tar has the sha256 $sum, expected $qtsvg_tar_sha256"
    fi
    mv "$tar.part" "$tar"
    echo "$tar"
}

# Builds qtsvg with the Qt in $qt_prefix for another platform, once: the
# toolchain file that qt-cmake chains to, and the platform's name.
build_qtsvg() {
    local toolchain=$1 platform=$2
    if [[ -f $qt_prefix/.qtsvg-complete ]]; then
        say "qtsvg $qt_version for $platform: cached in $qt_prefix"
        return
    fi
    local tar
    tar=$(qtsvg_source)
    local src=$cache/src/qtsvg build=$cache/build/qtsvg
    rm -rf "$src" "$build"
    mkdir -p "$src"
    tar -xf "$tar" -C "$src" --strip-components=1
    say "Building qtsvg $qt_version for $platform in $build"
    "$qt_prefix/bin/qt-cmake" -G Ninja -S "$src" -B "$build" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    cmake --build "$build" -j "$jobs"
    cmake --install "$build"
    touch "$qt_prefix/.qtsvg-complete"
    say "qtsvg built ($((SECONDS / 60)) min since the start)"
}

# svg2png renders the pictures (and the web page's icons) at build time, so
# it is built for this machine with the host's Qt; only that target of a host
# configuration is built, in $out/host.
build_host_svg2png() {
    local build=$out/host
    say "Building svg2png for this machine in $build" >&2
    cmake -G Ninja -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$build" --target svg2png >&2
    echo "$build/ui/svg2png"
}
