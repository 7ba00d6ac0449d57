#!/usr/bin/env bash
# Installs the dependencies, builds everything and runs the whole test suite; this is what
# CI runs (.ci/run).
#  1. The engine must not include Qt headers, and every include runs downward through the
#     layers of src/ (scripts/check_layers.sh).
#  2. The build users make: the "release" preset (Release, -O3, warnings as errors), with
#     the benchmarks compiled but not run, and its tests; then what it installs and the
#     Debian package made from it (scripts/check_install.sh).
#  3. One build of everything but the benchmarks (engine, command line, desktop program,
#     widget tests) under AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer at
#     -O1 (preset "asan"), then every test but those labelled slow: the engine and
#     command-line tests, and the widget tests on Qt's offscreen platform.  LeakSanitizer
#     ignores only what system libraries keep (.ci/lsan_suppressions.txt).
#  4. The fuzz targets (preset "fuzz", clang), each run for ZELKON_FUZZ_SECONDS (30) seconds
#     from its seed corpus, which holds the inputs of earlier faults.
# The tests labelled slow (the full critical-value table regeneration, the long-run check)
# run with: ctest --test-dir build/asan -L slow  (the preset leaves them out).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/check_engine_has_no_qt.sh
scripts/check_layers.sh

jobs=$(nproc)
cmake --preset release
cmake --build --preset release -j "$jobs"
ctest --preset release -j "$jobs" --label-exclude slow
scripts/check_install.sh build/release

# Test discovery runs the test programs during the build, under the same sanitizer options.
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=0:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/.ci/lsan_suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cmake --preset asan -DZELKON_BUILD_BENCH=OFF
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

scripts/fuzz.sh "${ZELKON_FUZZ_SECONDS:-30}"
