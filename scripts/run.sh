#!/usr/bin/env bash
# Installs the dependencies, builds the program and runs it on an example.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release
cmake --build --preset release -j "$(nproc)"
# Until the command-line front end exists, the engine's own tests show it working.
ctest --preset release -j "$(nproc)"
