#!/usr/bin/env bash
# A play frame's cost in the desktop game and in its web page, side by side in one run: the tutorial's first
# word in play at 640 x 480, measured for some seconds in turn, a few rounds alternating. The desktop turn is the
# real game in a window of this virtual display (its process's CPU time, Mesa's threads included, over the frames
# its loop paces at 60 a second); the web turn is bench/web_frames.mjs (the page's main thread, and the browser's
# drawing process apart). Prints each turn and the medians.
# Usage: tests/support/with-display bash bench/web_side_by_side.sh <desktop build> <web build> [seconds] [rounds]
# Depends on the end-to-end helpers (tests/e2e/lib.sh: the game started in a folder of its own, its window),
# xdotool, node and the web build's site and test program.
set -euo pipefail
desktop=$(realpath "$1") web=$(realpath "$2") seconds=${3:-20} rounds=${4:-3}
QUORLIX_BIN=$desktop/quorlix
. "$(dirname "$0")/../tests/e2e/lib.sh"

cpu_seconds() { awk '{ print ($14 + $15) / 100 }' "/proc/$1/stat"; }
median() { sort -n | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

desktop_turns=() main_turns=() gpu_turns=() missed_turns=()
for round in $(seq "$rounds"); do
  start_game
  win=$(find_window) || fail "the desktop game showed no window"
  xdotool windowfocus --sync "$win"
  sleep 2                          # loading
  xdotool key --clearmodifiers Return
  sleep 4                          # the letters drop in and rest
  before=$(cpu_seconds "$game_pid")
  sleep "$seconds"
  after=$(cpu_seconds "$game_pid")
  kill "$game_pid"
  wait "$game_pid" 2>/dev/null || true
  game_pid=
  desktop_ms=$(awk -v a="$before" -v b="$after" -v s="$seconds" 'BEGIN { printf "%.3f", (b - a) * 1000 / (s * 60) }')
  turn=$(node "$(dirname "$0")/web_frames.mjs" "$web" "$seconds")
  echo "round $round: desktop $desktop_ms ms a frame; web $turn"
  desktop_turns+=("$desktop_ms")
  main_turns+=("$(sed -E 's/.*"mainMsPerFrame":([0-9.]+).*/\1/' <<<"$turn")")
  gpu_turns+=("$(sed -E 's/.*"gpuProcessMsPerFrame":([0-9.]+).*/\1/' <<<"$turn")")
  missed_turns+=("$(sed -E 's/.*"missedPerMinute":([0-9.]+).*/\1/' <<<"$turn")")
done
echo "medians over $rounds rounds of $seconds s, ms of CPU a frame:" \
  "desktop game $(printf '%s\n' "${desktop_turns[@]}" | median);" \
  "web page main thread $(printf '%s\n' "${main_turns[@]}" | median)," \
  "its drawing process $(printf '%s\n' "${gpu_turns[@]}" | median);" \
  "web frames missing their 60 Hz slot, a minute: $(printf '%s\n' "${missed_turns[@]}" | median)"
