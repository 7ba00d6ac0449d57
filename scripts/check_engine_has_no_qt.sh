#!/usr/bin/env bash
# Fails when any file of the engine includes a Qt header.
set -euo pipefail
cd "$(dirname "$0")/.."
engine_dirs=(src/core src/stats src/report src/analyses src/document src/data src/output)
hits=$(grep -rnE '^\s*#\s*include\s*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/[^>"]*)[>"]' "${engine_dirs[@]}" || true)
if [ -n "$hits" ]; then
  echo "The engine must not include Qt headers:" >&2
  echo "$hits" >&2
  exit 1
fi
echo "engine: no Qt headers"
