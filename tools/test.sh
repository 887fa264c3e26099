#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs
# every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh --test
cmake -S . -B build-test -G Ninja -DPOKOMOJI_WERROR=ON -DBUILD_TESTING=ON >/dev/null
cmake --build build-test
ctest --test-dir build-test --output-on-failure --timeout 300
