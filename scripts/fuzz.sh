#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": clang with AddressSanitizer and
# UndefinedBehaviorSanitizer over the engine too) and runs each for the given number of
# seconds, one after the other:
#     scripts/fuzz.sh [seconds] [target...]      (default 60 seconds, every target)
# Each target starts from its seed corpus fuzz/corpus/<target>/ (which also holds the inputs
# of faults found before, as regression cases) and grows a working corpus in
# build/fuzz/corpus/<target>/.  A crashing input is saved in build/fuzz/crashes/<target>/;
# add it to fuzz/corpus/<target>/ once the fault is fixed.  Fails when any target crashed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=build/fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/*_fuzz.cpp; do b=$(basename "$f" .cpp); targets+=("${b%_fuzz}"); done
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" --target "${targets[@]/%/_fuzz}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
failed=()
for t in "${targets[@]}"; do
  work="$build/corpus/$t"
  crashes="$build/crashes/$t"
  log="$build/$t.log"
  mkdir -p "$work" "$crashes"
  echo "== $t: ${seconds} s"
  if "$build/fuzz/${t}_fuzz" -max_total_time="$seconds" -print_final_stats=1 -timeout=25 \
       -rss_limit_mb=2048 -artifact_prefix="$crashes/" "$work" "fuzz/corpus/$t" >"$log" 2>&1; then
    grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1 || true
    grep -E 'stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" || true
  else
    echo "$t: FAILED (see $log)"
    grep -E 'ERROR|property failed|SUMMARY' "$log" | head -5 || true
    failed+=("$t")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz targets that failed: ${failed[*]}" >&2
  exit 1
fi
