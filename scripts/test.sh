#!/usr/bin/env bash
# Installs the dependencies, builds everything and runs the whole test suite: the tests of
# the optimised build, the engine tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# and the check that no engine file includes a Qt header.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/check_engine_has_no_qt.sh

jobs=$(nproc)
cmake --preset release
cmake --build --preset release -j "$jobs"
ctest --preset release -j "$jobs"

cmake --preset asan
cmake --build --preset asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan -j "$jobs" -L engine
