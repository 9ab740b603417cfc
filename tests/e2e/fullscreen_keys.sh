#!/usr/bin/env bash
# End to end: keys typed into the real game's window reach it. F11 re-opens the 640x480 window as a
# fullscreen one at the 1280x1024 screen size and a second F11 brings back the centred 640x480 window titled
# "Quorlix"; F4 then ends the game with status 0.
# Runs itself under a display of its own. Needs QUORLIX_BIN and QUORLIX_WITH_DISPLAY (set by CTest).
set -u
if [ -z "${QUORLIX_E2E_DISPLAY:-}" ]; then
  QUORLIX_E2E_DISPLAY=1 exec "$QUORLIX_WITH_DISPLAY" bash "$0"
fi

work=$(mktemp -d)
trap 'kill "$game" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The one visible game window of the given size (the fullscreen window has no title); waits up to 10 s.
find_window() {
  local size=$1
  for _ in $(seq 100); do
    for w in $(xdotool search --onlyvisible --class GLFW-Application 2>/dev/null); do
      if xdotool getwindowgeometry "$w" 2>/dev/null | grep -q "Geometry: $size"; then
        echo "$w"
        return 0
      fi
    done
    sleep 0.1
  done
  return 1
}

# Gives the window the focus (the game runs no update without it; this display has no window manager to do
# it) and types one key into it.
press() {
  xdotool windowfocus --sync "$1" && xdotool key --clearmodifiers "$2"
}

cd "$work"
"$QUORLIX_BIN" >"$work/out.txt" 2>&1 &
game=$!

win=$(timeout 10 xdotool search --sync --onlyvisible --name '^Quorlix$' | head -n1)
[ -n "$win" ] || fail "no window titled Quorlix"
xdotool getwindowgeometry "$win" | grep -q 'Geometry: 640x480' || fail "first window is not 640x480"

press "$win" F11
full=$(find_window 1280x1024) || fail "F11 did not make a 1280x1024 window"

press "$full" F11
back=$(find_window 640x480) || fail "a second F11 did not bring back the 640x480 window"
[ "$(xdotool getwindowname "$back")" = "Quorlix" ] || fail "the window is not titled Quorlix again"
xdotool getwindowgeometry "$back" | grep -q 'Position: 320,272' || fail "the window is not centred"

press "$back" F4
for _ in $(seq 50); do
  kill -0 "$game" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$game" 2>/dev/null && fail "F4 did not end the game"
wait "$game"
status=$?
[ "$status" -eq 0 ] || { cat "$work/out.txt"; fail "exit status $status"; }
echo "ok"
