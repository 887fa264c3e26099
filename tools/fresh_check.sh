#!/usr/bin/env bash
# Runs the README's commands on a truly minimal Debian 12, as a new user
# would: makes a bare root with debootstrap --variant=minbase (once; it is kept
# in the folder and reused), copies it afresh for every run, clones this
# checkout's committed HEAD into the copy and, as root in a chroot with proc,
# sys and dev mounted, first builds, installs and uninstalls the program with
# only the run packages, then runs the test command `bash tools/test.sh`.
# Whatever it mounted is unmounted on every way out. Prints the result and how
# long it took.
#
# Needs root, debootstrap, git and the network to a Debian mirror (the one in
# /etc/apt/sources.list.d/debian.sources, else deb.debian.org). Takes many
# minutes: every package is installed and the program is built twice.
#
#   bash tools/fresh_check.sh [folder]    # default /var/tmp/pokomoji-fresh
set -euo pipefail

# The whole script is one function, read in full before it starts, so that
# editing the file while a run goes on cannot change that run.
main() {
    source_dir=$(cd "$(dirname "$0")/.." && pwd)
    folder=${1:-/var/tmp/pokomoji-fresh}
    base=$folder/base # the pristine minimal root, made once
    root=$folder/root # this run's copy
    log=$folder/test.log

    if ((EUID != 0)); then
        echo "fresh_check: run as root (debootstrap, mount and chroot need it)" >&2
        exit 2
    fi
    for tool in debootstrap git chroot mount umount; do
        command -v "$tool" >/dev/null || { echo "fresh_check: $tool is missing" >&2; exit 2; }
    done

    # The mirror this machine's apt uses, else Debian's own.
    host_sources=/etc/apt/sources.list.d/debian.sources
    mirror=http://deb.debian.org/debian
    if [[ -f $host_sources ]]; then
        uri=$(awk '$1 == "URIs:" && $2 ~ /\/debian\/?$/ {print $2; exit}' "$host_sources")
        mirror=${uri:-$mirror}
    fi

    commit=$(git -C "$source_dir" rev-parse HEAD)
    if [[ -n $(git -C "$source_dir" status --porcelain --untracked-files=no) ]]; then
        echo "fresh_check: note: uncommitted changes are not checked, only HEAD $commit"
    fi

    started=$(date +%s)
    status=1
    # Every mount point below the copy, deepest first (also those a killed run left).
    mounts_below() {
        awk -v r="$root" '$2 == r || index($2, r "/") == 1 {print $2}' /proc/mounts | sort -r
    }
    unmount_all() {
        local point
        for point in $(mounts_below); do
            umount "$point" 2>/dev/null || umount -l "$point"
        done
    }
    finish() {
        unmount_all || true
        local elapsed=$(($(date +%s) - started))
        local verdict=FAILED
        ((status == 0)) && verdict=PASSED
        printf 'fresh_check: %s (exit status %d) for %s in %d min %02d s; log: %s\n' \
            "$verdict" "$status" "${commit:0:10}" $((elapsed / 60)) $((elapsed % 60)) "$log"
    }
    trap 'status=$?; finish' EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM

    mkdir -p "$folder"
    if [[ ! -d $base ]]; then
        echo "fresh_check: making a minimal Debian 12 root from $mirror"
        rm -rf --one-file-system "$base.partial"
        debootstrap --variant=minbase bookworm "$base.partial" "$mirror" >"$folder/debootstrap.log" 2>&1 ||
            { tail -n 20 "$folder/debootstrap.log"; exit 1; }
        mv "$base.partial" "$base"
    fi

    # A fresh copy of the pristine root; never delete through a mount.
    unmount_all
    if [[ -n $(mounts_below) ]]; then
        echo "fresh_check: cannot unmount what is mounted below $root" >&2
        exit 1
    fi
    rm -rf --one-file-system "$root"
    cp -a "$base" "$root"
    if [[ -f $host_sources ]]; then
        cp "$host_sources" "$root/etc/apt/sources.list.d/debian.sources"
        : >"$root/etc/apt/sources.list"
    fi
    cp /etc/resolv.conf "$root/etc/resolv.conf"

    git clone -q --no-checkout "$source_dir" "$root/root/pokomoji"
    git -C "$root/root/pokomoji" checkout -q --detach "$commit"

    mount_in() { # mount_in <path in the root> <mount arguments...>
        mkdir -p "$root$1"
        mount "${@:2}" "$root$1"
    }
    mount_in /proc -t proc proc
    mount_in /sys -t sysfs sysfs
    mount_in /dev --bind /dev
    mount_in /dev/pts --bind /dev/pts
    mount_in /dev/shm -t tmpfs -o mode=1777 shm
    # Downloaded packages are kept between runs; they are installed anew each time.
    mkdir -p "$folder/apt-archives/partial"
    mount_in /var/cache/apt/archives --bind "$folder/apt-archives"

    # The README's commands, in its order: the plain build and install with the
    # run packages alone, the uninstall, then the tests.
    steps='set -e
    cd /root/pokomoji
    echo "fresh_check: the plain build with only the run packages"
    bash tools/deps.sh
    cmake -S . -B build -G Ninja && cmake --build build
    cmake --install build --prefix ~/.local
    xargs rm < build/install_manifest.txt
    left=$(find ~/.local -type f)
    if [ -n "$left" ]; then echo "fresh_check: the uninstall left $left"; exit 1; fi
    echo "fresh_check: installed and uninstalled again"
    echo "fresh_check: bash tools/test.sh"
    bash tools/test.sh'
    echo "fresh_check: running the README's commands on a minimal Debian 12 in $root (log: $log)"
    set +e
    chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        /bin/bash -c "$steps" </dev/null 2>&1 | tee "$log"
    status=${PIPESTATUS[0]}
    set -e
    # The lines that sum up each test run, and the last lines on a failure.
    grep -E '^fresh_check: |^[0-9]+% tests passed|tests failed out of|^Total Test time' "$log" || true
    if ((status != 0)); then
        tail -n 40 "$log"
    fi
    exit "$status"
}
main "$@"
