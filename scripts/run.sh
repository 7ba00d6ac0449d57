#!/usr/bin/env bash
# Installs the dependencies, builds the program and runs it on an example: the desktop
# program when it exists and a display is present, otherwise the example's results report
# through zelkon-cli.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release
cmake --build --preset release -j "$(nproc)"
example=examples/blood_pressure_raw.ZLD
if [ -x build/release/src/app/zelkon ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/release/src/app/zelkon "$example"
fi
build/release/src/cli/zelkon-cli stats "$example"
echo
exec build/release/src/cli/zelkon-cli report "$example"
