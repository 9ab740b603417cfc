#!/usr/bin/env bash
# Keys typed into the real game's window reach it: F11 re-opens the 640x480 window as a fullscreen one at the
# 1280x1024 screen size, a second F11 brings back the centred 640x480 window titled "Quorlix", and F4 then
# ends the game with status 0.
[ -z "${DISPLAY:-}" ] && exec "$QUORLIX_WITH_DISPLAY" bash "$0" "$@"
. "$(dirname "$0")/lib.sh"

# Prints the visible game window of the given size (the fullscreen one has no title), waiting up to 10 s.
find_sized_window() {
  for _ in $(seq 100); do
    for w in $(xdotool search --onlyvisible --class GLFW-Application 2>/dev/null); do
      if xdotool getwindowgeometry "$w" 2>/dev/null | grep -q "Geometry: $1"; then
        echo "$w"
        return 0
      fi
    done
    sleep 0.1
  done
  return 1
}

start_game
win=$(find_window) || fail "no window titled Quorlix appeared"
xdotool getwindowgeometry "$win" | grep -q 'Geometry: 640x480' || fail "the first window is not 640x480"

press "$win" F11
full=$(find_sized_window 1280x1024) || fail "F11 did not make a 1280x1024 window"

press "$full" F11
back=$(find_sized_window 640x480) || fail "a second F11 did not bring back the 640x480 window"
[ "$(xdotool getwindowname "$back")" = "Quorlix" ] || fail "the window is not titled Quorlix again"
xdotool getwindowgeometry "$back" | grep -q 'Position: 320,272' || fail "the window is not centred"

press "$back" F4
wait_game 10
[ "$status" -eq 0 ] || fail "F4 ended with status $status, not 0"
echo "fullscreen_keys: ok"
