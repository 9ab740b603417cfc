#!/usr/bin/env bash
# The real binary under random input for ten minutes (QUORLIX_SOAK_SECONDS) on a virtual display of its own: keys
# held for a moment, clicks, drags and now and then the focus taken away, never F4. Back (Escape and its fellows)
# is pressed now and then too, and in a clear main menu it quits: the game is then started again and the restarts
# counted. It must be alive at the end, every ending must be such a quit (status 0, no runtime error), and its
# resident memory, sampled every 10 s from /proc, must stay flat after warm-up for each window size it had.
# Run by `make soak`, not by `make test`. QUORLIX_SOAK_SEED seeds the input.
[ -z "${DISPLAY:-}" ] && exec "$QUORLIX_WITH_DISPLAY" bash "$0" "$@"
. "$(dirname "$0")/../e2e/lib.sh"
seconds=${QUORLIX_SOAK_SECONDS:-600}
RANDOM=${QUORLIX_SOAK_SEED:-1}
samples="$work/samples.txt"
: >"$samples"

keys=(Up Down Left Right w a s d z x c v b n j k l i u o space Return Shift_L Control_L Tab e q 1 0 F2)
backs=(Escape grave BackSpace Delete)

# The game's visible window (a new one after each switch of size).
current_window() {
  xdotool search --onlyvisible --class GLFW-Application 2>/dev/null | tail -n1
}

# Starts a new run of the game and waits for its window.
launch() {
  start_game
  win=$(find_window) || fail "no window titled Quorlix appeared"
  xdotool windowfocus --sync "$win" 2>/dev/null
  started_at=$SECONDS
}

# Checks how a run ended: only a quit through Back is expected.
check_ending() {
  wait "$game_pid"
  status=$?
  game_pid=
  grep -q 'Zindle Runtime Error' "$work/out.txt" && fail "a runtime error"
  [ "$status" -eq 0 ] || fail "the game ended with status $status"
  restarts=$((restarts + 1))
  cat "$work/err.txt" >>"$work/all-errors.txt"
}

restarts=0
launch
run=1
end=$((SECONDS + seconds))
next_sample=$SECONDS
seen_window=
seen_since=$SECONDS
disturbed_at=$SECONDS
while [ "$SECONDS" -lt "$end" ]; do
  if ! kill -0 "$game_pid" 2>/dev/null; then
    check_ending
    launch
    run=$((run + 1))
    continue
  fi
  w=$(current_window)
  if [ "$w" != "$seen_window" ]; then
    seen_window=$w
    seen_since=$SECONDS
  fi
  # NOTE: a new window loads its art, and the old art's memory is handed back, in the moments after it appears,
  # and loading waits while the game is out of focus: a sample then would charge one size's memory to the
  # other. So samples wait until the window is 3 s old and 3 s have passed since the focus was last taken away
  # or F11 last pressed.
  if [ "$SECONDS" -ge "$next_sample" ] && [ -n "$w" ] && [ $((SECONDS - seen_since)) -ge 3 ] &&
    [ $((SECONDS - disturbed_at)) -ge 3 ]; then
    rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$game_pid/status" 2>/dev/null)
    size=$(xdotool getwindowgeometry "$w" 2>/dev/null | awk '/Geometry/ { print $2 }')
    [ -n "$rss" ] && echo "$run $((SECONDS - started_at)) ${size:-none} $rss" >>"$samples"
    next_sample=$((next_sample + 10))
  fi
  [ -z "$w" ] && { sleep 0.2; continue; }
  xdotool windowfocus "$w" 2>/dev/null
  read -r width height < <(xdotool getwindowgeometry "$w" 2>/dev/null | awk -F'[ x]' '/Geometry/ { print $4, $5 }')
  width=${width:-640} height=${height:-480}
  pick=$((RANDOM % 100))
  if [ "$pick" -lt 50 ]; then
    key=${keys[RANDOM % ${#keys[@]}]}
    xdotool keydown "$key" 2>/dev/null; sleep "0.0$((RANDOM % 9 + 1))"; xdotool keyup "$key" 2>/dev/null
  elif [ "$pick" -lt 70 ]; then
    xdotool mousemove --window "$w" $((RANDOM % width)) $((RANDOM % height)) click 1 2>/dev/null
  elif [ "$pick" -lt 85 ]; then
    x=$((RANDOM % width)) y=$((RANDOM % height))
    xdotool mousemove --window "$w" "$x" "$y" mousedown 1 2>/dev/null
    for _ in 1 2 3 4 5; do
      x=$((x + RANDOM % 61 - 30)) y=$((y + RANDOM % 61 - 30))
      x=$((x < 0 ? 0 : x >= width ? width - 1 : x)) y=$((y < 0 ? 0 : y >= height ? height - 1 : y))
      xdotool mousemove --window "$w" "$x" "$y" 2>/dev/null; sleep 0.02
    done
    xdotool mouseup 1 2>/dev/null
  elif [ "$pick" -lt 97 ]; then
    sleep 0.1
  elif [ "$pick" -lt 98 ]; then
    xdotool key "${backs[RANDOM % ${#backs[@]}]}" 2>/dev/null
  elif [ "$pick" -lt 99 ]; then
    [ $((RANDOM % 8)) -eq 0 ] && { xdotool key F11 2>/dev/null; disturbed_at=$SECONDS; }
  else
    steal_focus
    sleep 0.3
    kill "$other_pid" 2>/dev/null
    disturbed_at=$SECONDS
  fi
done
kill -0 "$game_pid" 2>/dev/null || fail "the game was not alive at the end"
press "$(current_window)" F4
wait_game 10
[ "$status" -eq 0 ] || fail "F4 ended with status $status"
cat "$work/err.txt" >>"$work/all-errors.txt"

# Resident memory of the last run, after a minute of warm-up, for each window size it had.
echo "real binary soak: $seconds s, $restarts restarts (quits through Back in the menu), $run runs"
echo "resident memory (run, seconds into it, window, kB):"
sed 's/^/  /' "$samples"
flat=ok
for size in $(awk -v r="$run" '$1 == r && $2 >= 60 { print $3 }' "$samples" | sort -u); do
  read -r first last least most count < <(awk -v r="$run" -v s="$size" '$1 == r && $2 >= 60 && $3 == s {
      if (n == 0) { f = $4; lo = $4; hi = $4 } l = $4; if ($4 < lo) lo = $4; if ($4 > hi) hi = $4; n++ }
      END { print f, l, lo, hi, n }' "$samples")
  echo "last run at $size after warm-up: first $first kB, last $last kB, least $least kB, most $most kB ($count samples)"
  [ $((last - first)) -lt 8192 ] || flat="grew by $((last - first)) kB at $size"
done
echo "what the game told the player:"
sort "$work/all-errors.txt" | uniq -c | sed 's/^/  /'
[ "$flat" = ok ] || fail "resident memory $flat"
echo "real_binary: ok"
