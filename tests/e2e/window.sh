#!/usr/bin/env bash
# The real binary opens one 640x480 window titled "Quorlix", centred on the screen; the close box ends it with
# status 0; a fatal signal prints the runtime error line and ends with status 255.
. "$(dirname "$0")/lib.sh"

start_game
win=$(find_window) || fail "no window titled Quorlix appeared"
[ "$(xdotool search --name '^Quorlix$' | wc -l)" -eq 1 ] || fail "more than one window"
geometry=$(xdotool getwindowgeometry "$win")
echo "$geometry" | grep -q "Geometry: 640x480" || fail "window is not 640x480: $geometry"
echo "$geometry" | grep -q "Position: 320,272" || fail "window is not centred on 1280x1024: $geometry"
sleep 0.5
"$QUORLIX_XCLOSE" "$win"
wait_game 10
[ "$status" -eq 0 ] || fail "close box ended with status $status, not 0"

start_game
find_window >/dev/null || fail "no window titled Quorlix appeared"
sleep 0.3
kill -SEGV "$game_pid"
wait_game 10
[ "$status" -eq 255 ] || fail "SIGSEGV ended with status $status, not 255"
grep -qx "Zindle Runtime Error : Memory access violation" "$work/out.txt" || fail "no runtime error line"
echo "window: ok"
