#!/usr/bin/env bash
# Builds the Debian package from a build tree with CPack and checks what a
# fresh machine's apt would see: the package's name and version, that its
# dependencies name the Qt runtime libraries (worked out by dpkg-shlibdeps),
# and that it carries the program, the menu entry,
# the AppStream record, both icons and the licence.
#
# Usage: check_deb.sh <build dir> <release, e.g. 1.0.2>
set -uo pipefail

if (($# != 2)); then
    echo "usage: $0 <build dir> <release>" >&2
    exit 2
fi
build=$(cd "$1" && pwd) || exit 2
release=$2
for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool not found"; exit 77; }
done

passed=0
failed=0
check() { # check <description> <command...>
    local what=$1
    shift
    if "$@"; then echo "PASS: $what"; passed=$((passed + 1)); else echo "FAIL: $what"; failed=$((failed + 1)); fi
}

out=$(mktemp -d "${TMPDIR:-/tmp}/pokomoji-deb.XXXXXX")
trap 'rm -rf "$out"' EXIT
if ! (cd "$out" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out") >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    echo "0 passed, 1 failed"
    exit 1
fi
deb=$(find "$out" -maxdepth 1 -name "pokomoji_${release}_*.deb" | head -n 1)
if [[ -z "$deb" ]]; then
    echo "FAIL: cpack made no pokomoji_${release}_*.deb:" $(cd "$out" && ls ./*.deb 2>/dev/null)
    echo "0 passed, 1 failed"
    exit 1
fi

field() { dpkg-deb -f "$deb" "$1"; }
depends=$(field Depends)
check "Package is pokomoji" test "$(field Package)" = pokomoji
check "Version is $release" test "$(field Version)" = "$release"
for dependency in libqt6widgets6 libqt6gui6 libqt6core6 libqt6svg6; do
    check "Depends names $dependency" grep -q "\b$dependency\b" <<<"$depends"
done

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for path in ./usr/bin/pokomoji \
    ./usr/share/applications/jp.pokomoji.Pokomoji.desktop \
    ./usr/share/metainfo/jp.pokomoji.Pokomoji.metainfo.xml \
    ./usr/share/icons/hicolor/32x32/apps/jp.pokomoji.Pokomoji.png \
    ./usr/share/icons/hicolor/scalable/apps/jp.pokomoji.Pokomoji.svg \
    ./usr/share/doc/pokomoji/copyright; do
    check "the package holds ${path#.}" grep -qx -- "$path" <<<"$contents"
done

echo "$passed passed, $failed failed"
((failed == 0))
