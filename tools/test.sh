#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs
# every test, then builds everything again with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every test once more.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh --test
cmake --preset ci >/dev/null
cmake --build --preset ci
ctest --preset ci

# A memory error, undefined behaviour or a leak fails the test that meets it.
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan
