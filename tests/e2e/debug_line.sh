#!/usr/bin/env bash
# The F1 debug line with the real binary: F1 writes the line (draw records, scales, frame rate) at the bottom
# left of the 640x480 window in the game's font; after a second F1 it is not written any more, so the 1280x1024
# fullscreen window that F11 then opens shows none. The menu's side panel is opened first: it leaves the bottom
# left of the screen dark and still, where the wheel would turn. The screenshots are kept as
# debug_line_{before,on,off}.png beside this script's build folder for a person to look at.
. "$(dirname "$0")/lib.sh"

# Number of near-white pixels of screenshot $1 in the box width x height + left + top ($2).
white_pixels() {
  convert "$work/$1.png" -crop "$2" +repage -colorspace Gray -threshold 85% -format '%[fx:round(mean*w*h)]' info:
}

start_game
win=$(find_window) || fail "no window titled Quorlix appeared"
xdotool windowfocus --sync "$win"
xdotool getwindowgeometry "$win" | grep -q 'Position: 320,272' || fail "the window is not centred"
sleep 1.5
# Right gives the strip the focus, Return opens it (both held long enough for an update to see them).
hold "$win" Right
hold "$win" Return
sleep 1.5
# The line's glyphs sit from virtual (16, 464) on: in the centred window, below y 733 and right of x 336.
line_box=280x26+330+726
shoot debug_line_before
[ "$(white_pixels debug_line_before $line_box)" -eq 0 ] || fail "something is written where the line goes"

press "$win" F1
sleep 1
shoot debug_line_on
[ "$(white_pixels debug_line_on $line_box)" -gt 40 ] || fail "F1 wrote no debug line"

press "$win" F1
press "$win" F11
full=$(find_sized_window 1280x1024) || fail "F11 did not make a 1280x1024 window"
xdotool windowfocus --sync "$full"
sleep 2
shoot debug_line_off
# Fullscreen: 2.133 pixels a unit, so the line would start at (34, 990).
[ "$(white_pixels debug_line_off 600x34+20+985)" -eq 0 ] || fail "the debug line is still written after a second F1"
[ "$(white_pixels debug_line_off 500x60+440+900)" -gt 40 ] || fail "the fullscreen side panel shows no foot line"

press "$full" F4
wait_game 10
[ "$status" -eq 0 ] || fail "F4 ended with status $status"
echo "debug_line: ok"
