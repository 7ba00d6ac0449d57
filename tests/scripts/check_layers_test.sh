#!/usr/bin/env bash
# The layer check passes on the project's tree and fails, naming the include, when a file
# includes from a folder above its own or from a folder beside it on the same layer.
set -euo pipefail
root=$1
check=$root/scripts/check_layers.sh
"$check" "$root/src" > /dev/null

work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
plant() {  # plant FILE INCLUDE: a copy of src whose FILE also includes INCLUDE
  rm -rf "$work/src"; cp -r "$root/src" "$work/src"
  printf '#include "%s"\n' "$2" >> "$work/src/$1"
  if "$check" "$work/src" 2> "$work/out"; then
    echo "not refused: $1 including $2" >&2; exit 1
  fi
  grep -qF "src/$1:" "$work/out" && grep -qF "#include \"$2\"" "$work/out" ||
    { echo "the refusal does not name $1 and $2:" >&2; cat "$work/out" >&2; exit 1; }
}
plant core/types.h document/document.h            # the ground using the top
plant analyses/regression/correlation.h analyses/groups/t_tests.h  # a lower analysis
plant analyses/contingency/fisher_exact.h analyses/regression/correlation.h  # beside it
plant cli/cli_common.h ui/ui_services.h           # beside it
echo "layer check: passes the tree, refuses planted includes"
