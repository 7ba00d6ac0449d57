#!/usr/bin/env bash
# Takes a screenshot of each step of the desktop program under a virtual X server:
#   bash docs/screenshots/take_screenshots.sh [path/to/zelkon]
# Needs xvfb, xauth, imagemagick and xdotool (scripts/setup.sh installs them).  The program
# runs with private settings (guide off) on an example data file; F10 moves to the next step.
set -euo pipefail
cd "$(dirname "$0")/../.."
program=${1:-build/release/src/app/zelkon}
out=docs/screenshots
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/config/Zelkon" "$home/data" "$home/runtime"
chmod 700 "$home/runtime"
settings() {  # show-hints flag
  printf '[Options]\r\nShowNewUserHints=%s\r\n[WindowSize]\r\nWidth=1260\r\nHeight=1000\r\n' "$1" \
    > "$home/config/Zelkon/ZELKON.INI"
}

shoot() {  # example file, then names of the shots of steps 1, 2, ... in order
  local example=$1; shift
  XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/runtime" \
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    program=$1; example=$2; out=$3; shift 3
    "$program" "$example" &
    pid=$!
    sleep 4
    # There is no window manager: give the main window the keyboard directly.
    window=$(xdotool search --onlyvisible --name "^Kestrane Zelkon" | head -1)
    xdotool windowfocus --sync "$window" || true
    sleep 0.5
    first=1
    for shot in "$@"; do
      if [ $first -eq 0 ]; then
        if [ "$shot" = "-" ]; then shot=""; fi
        xdotool key F10
        sleep 1.5
      fi
      first=0
      [ -n "$shot" ] && import -window root "$out/$shot.png"
    done
    kill $pid
    wait $pid 2>/dev/null || true
  ' _ "$program" "$example" "$out" "$@"
}

settings False
shoot examples/blood_pressure_raw.ZLD step1_start step2_data step3_column_stats step4_choose_test \
  step5_results step6_graph
shoot examples/wound_infection_2x2.ZLD step1_two_by_two step2_two_by_two_table step4_two_by_two_choices \
  step5_two_by_two_results
shoot examples/mouse_weights_mean_sd_n.ZLD step1_averaged step3_averaged_data_entry
settings True
shoot examples/blood_pressure_raw.ZLD guide_step1
echo "screenshots written to $out"
