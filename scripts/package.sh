#!/usr/bin/env bash
# Builds the Debian package of Zelkon: installs the dependencies, builds the programs in the
# given preset ("package" by default: Release without tests or benchmarks) and writes
# zelkon_<version>_<arch>.deb into build/<preset>/.  Install it with
#     sudo apt install ./build/package/zelkon_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-package}
scripts/setup.sh
cmake --preset "$preset"
cmake --build --preset "$preset" -j "$(nproc)"
(cd "build/$preset" && cpack -G DEB)
ls "build/$preset"/zelkon_*.deb
