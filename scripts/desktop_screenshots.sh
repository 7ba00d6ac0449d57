#!/usr/bin/env bash
# Screenshots of the desktop program as a user meets it: under a virtual X server with a
# window manager (openbox), private settings, driven with xdotool.
#   scripts/desktop_screenshots.sh [path/to/build]
# Writes into docs/screenshots: the first start with fresh settings at 1280x1024 and at
# 1024x768, Window > Tile with 3 and with 7 documents in a maximised window, the data page
# under a German locale, a value too wide for its cell, and the graph's point-cap line.
# Needs xvfb, xauth, openbox, imagemagick and xdotool (scripts/setup.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
program="$PWD/$build/src/app/zelkon"
cli="$PWD/$build/src/cli/zelkon-cli"
out="$PWD/docs/screenshots"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

# settings HINTS [MAXIMIZED]: a fresh settings folder; HINTS "fresh" writes no file at all.
settings() {
  rm -rf "$work/home"
  mkdir -p "$work/home/config/Zelkon" "$work/home/data" "$work/home/runtime"
  chmod 700 "$work/home/runtime"
  [ "$1" = fresh ] && return
  printf '[Options]\r\nShowNewUserHints=%s\r\n[WindowSize]\r\nWidth=1000\r\nHeight=760\r\nMaximized=%s\r\n' \
    "$1" "${2:-False}" > "$work/home/config/Zelkon/ZELKON.INI"
}

# session SCREEN SCRIPT: runs SCRIPT (bash, with $program, $out and the files in $work) on a
# virtual screen with openbox, in the private settings.
session() {
  local screen=$1 script=$2
  XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data" XDG_RUNTIME_DIR="$work/home/runtime" \
  program="$program" out="$out" work="$work" LC_ALL="${LOCALE:-C.UTF-8}" \
  xvfb-run -a -s "-screen 0 ${screen}x24" bash -c '
    openbox >/dev/null 2>&1 &
    sleep 1
    focus() {
      local w
      w=$(xdotool search --onlyvisible --name "^Kestrane Zelkon" | head -1)
      xdotool windowactivate --sync "$w" >/dev/null 2>&1 || true
      sleep 0.5
    }
    shoot() { sleep 1; import -window root "$out/$1.png"; }
    '"$script"'
    kill $(jobs -p) 2>/dev/null || true
    wait 2>/dev/null || true
  '
}

# The data: a value of exp(10) with 8 decimals in a 90-pixel column, and an X-and-Y table
# of 1000 rows with 25 Y columns (25000 values), of which the graph draws 5000.
printf 'Value\n22026.46579481\n7.38905610\n2.71828183\n1.00000000\n' > "$work/exp.txt"
"$cli" import "$work/exp.txt" -o "$work/exp_transform.ZLD" --decimal-separator . >/dev/null 2>&1
awk 'BEGIN { srand(7); for (r = 1; r <= 1000; r++) { line = r; for (c = 1; c <= 25; c++)
       line = line "\t" sprintf("%.2f", 2 * r + 40 * (rand() - 0.5)); print line } }' > "$work/xy.txt"
"$cli" import "$work/xy.txt" -o "$work/many_points.ZLD" --format xy --decimal-separator . >/dev/null 2>&1
cp examples/*.ZLD "$work/"

# First start with fresh settings: the guide shows first; Escape closes it.
for screen in 1280x1024 1024x768; do
  settings fresh
  session "$screen" '
    "$program" &
    sleep 4
    focus
    xdotool key Escape
    shoot first_start_'"$screen"'
  '
done

# Tile with 3 and with 7 documents: the later files are handed over to the running copy.
tile() {
  local name=$1; shift
  settings False True
  session 1280x1024 '
    files=('"$*"')
    "$program" "$work/${files[0]}" &
    sleep 4
    for f in "${files[@]:1}"; do "$program" "$work/$f"; sleep 1; done
    focus
    xdotool key alt+w
    sleep 0.5
    xdotool key t
    shoot '"$name"'
  '
}
tile tile_3_documents blood_pressure_raw.ZLD mouse_weights_mean_sd_n.ZLD wound_infection_2x2.ZLD
tile tile_7_documents blood_pressure_raw.ZLD mouse_weights_mean_sd_n.ZLD wound_infection_2x2.ZLD \
  bmi_insulin_pearson_xy.ZLD smoking_by_age_table.ZLD cholesterol_mean_sem_n.ZLD protein_standard_curve_xy.ZLD

# The data page under a German locale: numbers with a decimal comma.
settings False
LOCALE=de_DE.UTF-8 session 1280x1024 '
  "$program" "$work/bmi_insulin_pearson_xy.ZLD" &
  sleep 4
  focus
  xdotool key F10
  shoot data_page_german_locale
'

# A value wider than its cell, with its tooltip.
settings False
session 1024x768 '
  "$program" "$work/exp_transform.ZLD" &
  sleep 4
  focus
  xdotool key F10
  sleep 1
  cell=$(xdotool search --onlyvisible --name "^Kestrane Zelkon" | head -1)
  eval "$(xdotool getwindowgeometry --shell "$cell")"
  xdotool mousemove $((X + 143)) $((Y + 148))
  sleep 2
  shoot narrow_cell_value
'

# The graph of 25000 values says how many it plots.
settings False
session 1280x1024 '
  "$program" "$work/many_points.ZLD" &
  sleep 4
  focus
  for step in 2 3 4 5 6; do xdotool key F10; sleep 1.5; done
  shoot graph_point_cap
'
ls -l "$out"/first_start_* "$out"/tile_* "$out"/data_page_german_locale.png "$out"/narrow_cell_value.png \
  "$out"/graph_point_cap.png
