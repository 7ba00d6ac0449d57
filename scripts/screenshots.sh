#!/usr/bin/env bash
# Renders the screenshots under docs/screenshots: the widget tests save the pages and dialogs
# they drive, and zelkon-cli draws one graph of each kind from the examples.  Run after a
# release build (cmake --preset release && cmake --build --preset release).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
out=docs/screenshots
mkdir -p "$out"
export ZELKON_SCREENSHOT_DIR="$PWD/$out"
for t in "$build"/tests/*_test; do
  case "$(basename "$t")" in
    single_instance_test) continue ;;
  esac
  if grep -q SaveScreenshot "tests/ui/$(basename "$t").cpp" 2>/dev/null; then
    QT_QPA_PLATFORM=offscreen "$t" >/dev/null
  fi
done
if [ -x scripts/graph_screenshots.sh ]; then
  scripts/graph_screenshots.sh "$build"
fi
ls -l "$out"
