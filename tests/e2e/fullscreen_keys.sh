#!/usr/bin/env bash
# Keys typed into the real game's window reach it: F11 re-opens the 640x480 window as a fullscreen one at the
# 1280x1024 screen size, a second F11 brings back the centred 640x480 window titled "Quorlix", and F4 then
# ends the game with status 0.
. "$(dirname "$0")/lib.sh"

start_game
win=$(find_window) || fail "no window titled Quorlix appeared"
xdotool getwindowgeometry "$win" | grep -q 'Geometry: 640x480' || fail "the first window is not 640x480"

press "$win" F11
full=$(find_sized_window 1280x1024) || fail "F11 did not make a 1280x1024 window"
# NOTE: the game is busy making its art again for the new window, as a player sees, and reads no events meanwhile.
# A second F11 queued before the game has seen the first one let go of comes in one batch with that let-go, and
# cannot be told from the first hold's repeat, which is dropped.
sleep 1

press "$full" F11
back=$(find_sized_window 640x480) || fail "a second F11 did not bring back the 640x480 window"
[ "$(xdotool getwindowname "$back")" = "Quorlix" ] || fail "the window is not titled Quorlix again"
xdotool getwindowgeometry "$back" | grep -q 'Position: 320,272' || fail "the window is not centred"

press "$back" F4
wait_game 10
[ "$status" -eq 0 ] || fail "F4 ended with status $status, not 0"
echo "fullscreen_keys: ok"
