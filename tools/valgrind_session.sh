#!/usr/bin/env bash
# Plays a whole scripted visit (bench/scripted_session.cpp: the menu, both
# practice windows, right and wrong answers, judging, Stop, again, closing and
# opening a window anew, the end button) under valgrind's memcheck. Fails on
# any memory error and on any definite leak that tests/valgrind.supp does not
# put down to Qt, fontconfig, FreeType, GLib or X themselves.
#
#   bash tools/valgrind_session.sh
set -euo pipefail
cd "$(dirname "$0")/.."

command -v valgrind >/dev/null || { echo "valgrind is missing: apt-get install valgrind" >&2; exit 1; }

build=build-memcheck
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=OFF -DPOKOMOJI_BENCH=ON >/dev/null
cmake --build "$build" --target bench_scripted_session >/dev/null

runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
export QT_QPA_PLATFORM=offscreen

log=$build/valgrind_session.log
started=$(date +%s)
status=0
valgrind --tool=memcheck --leak-check=full --errors-for-leak-kinds=definite \
    --error-exitcode=1 --suppressions=tests/valgrind.supp --num-callers=40 \
    ${VALGRIND_EXTRA:-} "$build/bench/bench_scripted_session" >"$log" 2>&1 || status=$?
elapsed=$(($(date +%s) - started))

grep -E "scripted_session:|ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|still reachable|suppressed:" "$log" |
    sed 's/^==[0-9]*== //'
echo "valgrind ran ${elapsed} s, exit status ${status}; full log: $log"
exit "$status"
