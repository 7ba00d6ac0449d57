#!/usr/bin/env bash
# Fails when a source file includes from a folder above its own.  The folders of src/ are
# layers, lowest first; a file may include from its own folder and from the layers below.
# Folders on one layer (cli and ui; contingency and regression) may not include each other.
#   scripts/check_layers.sh [SRC]     SRC defaults to the project's src/
set -euo pipefail
src=${1:-"$(dirname "$0")/../src"}
cd "$src"

# Layer of each folder, lowest first.
declare -A layer=(
  [core]=1                     # types, text, the data table, the results report, platform
  [stats]=2                    # numerical methods, distributions, number wording
  [report]=3                   # the results-table writers the analyses use
  [analyses/contingency]=4     # two-by-two and larger tables
  [analyses/regression]=4      # regression and correlation
  [analyses/groups]=5          # column tests (the paired tests check pairing by correlation)
  [document]=6                 # choices, steps, the document, the data file, the run
  [data]=7                     # editing, import, export, transforms, notes
  [output]=8                   # graph model and print layout
  [render]=9                   # drawing with Qt
  [cli]=10                     # zelkon-cli
  [ui]=10                      # the document windows
  [app]=11                     # the desktop program's shell
)

layers=$(for f in "${!layer[@]}"; do echo "$f ${layer[$f]}"; done)
grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' --include='*.h' --include='*.cpp' . |
awk -v layers="$layers" '
  BEGIN {
    n = split(layers, rows, "\n")
    for (i = 1; i <= n; i++) { split(rows[i], f, " "); rank[f[1]] = f[2] }
  }
  # The layer folder a path lies in ("analyses/groups/x.h" gives analyses/groups), or "".
  function folder(path,   parts, k) {
    k = split(path, parts, "/")
    if (k > 2 && ((parts[1] "/" parts[2]) in rank)) return parts[1] "/" parts[2]
    if (k > 1 && (parts[1] in rank)) return parts[1]
    return ""
  }
  {
    file = $0; sub(/^\.\//, "", file); sub(/:.*/, "", file)
    rest = $0; sub(/^[^:]*:/, "", rest); line = rest; sub(/:.*/, "", line)
    text = rest; sub(/^[^:]*:/, "", text)
    included = text; sub(/^[^"]*"/, "", included); sub(/".*/, "", included)
    from = folder(file); to = folder(included)
    if (from == "" || to == "" || from == to) next
    if (rank[to] + 0 >= rank[from] + 0) {
      print "src/" file ":" line ": " text "  (" from " may not use " to ")" > "/dev/stderr"
      bad = 1
    }
  }
  END {
    if (bad) {
      print "Includes must run downward through the layers (see docs/architecture.md)." > "/dev/stderr"
      exit 1
    }
    print "layers: every include runs downward"
  }'
