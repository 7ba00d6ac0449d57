#!/usr/bin/env bash
# Draws one graph of each kind with zelkon-cli into docs/screenshots/graph_*.png: the graph of
# every data format from the examples, a regression forced through the origin (from a small
# imported data set) and the residuals of the multiple regression (from a copy of its example).
# Usage: scripts/graph_screenshots.sh [BUILD_FOLDER]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
cli="$build/src/cli/zelkon-cli"
out=docs/screenshots
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

draw() {  # draw DATAFILE NAME
  "$cli" graph "$1" -o "$out/graph_$2.png" 2>"$tmp/stderr" || { cat "$tmp/stderr" >&2; exit 1; }
}

draw examples/blood_pressure_raw.ZLD raw_data
draw examples/mouse_weights_mean_sd_n.ZLD mean_sd_n
draw examples/cholesterol_mean_sem_n.ZLD mean_sem_n
draw examples/wound_infection_2x2.ZLD two_by_two
draw examples/smoking_by_age_table.ZLD contingency_table
draw examples/protein_standard_curve_xy.ZLD xy_regression
draw examples/blood_pressure_multiple_regression.ZLD multiple_regression

# A small X-and-Y data set imported as text; line 10 of its data file is the force flag and
# lines 11 and 12 the point (0, 0), so setting the flag forces the line through the origin.
printf 'Enzyme rate forced through the origin\r\nSubstrate,Rate\r\n1,2.6\r\n2,3.7\r\n3,6.9\r\n4,7.4\r\n5,10.9\r\n6,11.3\r\n7,14.8\r\n' \
  > "$tmp/forced.csv"
"$cli" import "$tmp/forced.csv" -o "$tmp/imported.ZLD" --format xy --decimal-separator . \
  --list-separator , > /dev/null
awk 'NR == 10 { print "T\r"; next } { print }' "$tmp/imported.ZLD" > "$tmp/forced.ZLD"
draw "$tmp/forced.ZLD" xy_forced_fit

# The multiple-regression file ends its choices with the graph's X and Y columns; "*" as Y
# plots the residuals of the fit.
awk '{ line[NR] = $0 } /^<<END CHOICES>>/ && !end { end = NR }
     END { for (i = 1; i <= NR; ++i) print (i == end - 1 ? "*\r" : line[i]) }' \
  examples/blood_pressure_multiple_regression.ZLD > "$tmp/residuals.ZLD"
draw "$tmp/residuals.ZLD" residuals
