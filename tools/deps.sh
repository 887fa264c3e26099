#!/usr/bin/env bash
# Installs the Debian packages the program needs to build and run, and with
# "--test" also those its tests need; with "--only PACKAGE..." just those
# packages (the Windows and web scripts name theirs so). Only what is missing
# is installed, so a second run returns at once. Run as root on Debian 12; a minimal Debian
# (debootstrap --variant=minbase) is enough, as tools/fresh_check.sh shows.
set -euo pipefail

# One group of packages a line.
packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-svg-dev
    # A screen's size in its own device pixels, from Qt's platform screen.
    qt6-base-private-dev
    # X's event structures: a window notices that another client destroyed it.
    libxcb1-dev
    # The built-in face is cut out of BIZ UDPGothic at build time.
    python3-fonttools fonts-morisawa-bizud-gothic
)
if [[ "${1:-}" == "--only" ]]; then
    shift
    packages=("$@")
elif [[ "${1:-}" == "--test" ]]; then
    packages+=(
        libgtest-dev
        python3 python3-pil
        xvfb xauth xdotool imagemagick x11-utils
        # screen changes under a window manager (tests/placement_check.py)
        openbox x11-xserver-utils
        # another program keeps a window below the others
        wmctrl
        weston qt6-wayland
        binutils-mingw-w64-x86-64
        # The engine's tests built for Windows and run under Wine.
        g++-mingw-w64-x86-64-posix wine wine64
        desktop-file-utils appstream
        dpkg-dev file lintian devscripts
        valgrind
        clang-format
        python3-pyatspi at-spi2-core dbus-daemon
    )
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
