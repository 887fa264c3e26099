#!/usr/bin/env bash
# Runs a command on a private Xvfb server under Qt's xcb platform and returns
# its exit status; the server picks a free display number itself.
#
# Usage: with_xvfb.sh <command> [arguments...]
set -uo pipefail

if (($# == 0)); then
    echo "usage: $0 <command> [arguments...]" >&2
    exit 2
fi
command -v Xvfb >/dev/null || { echo "SKIP: Xvfb not found (package xvfb)"; exit 77; }

work=$(mktemp -d "${TMPDIR:-/tmp}/pokomoji-xvfb.XXXXXX")
xvfb_pid=
cleanup() {
    if [[ -n $xvfb_pid ]]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb writes its display number to the descriptor once it accepts clients.
exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
if ! read -r -t 20 -u "$displayfd" display; then
    echo "Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
exec {displayfd}<&-

DISPLAY=:$display QT_QPA_PLATFORM=xcb "$@"
