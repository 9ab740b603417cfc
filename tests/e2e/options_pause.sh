#!/usr/bin/env bash
# The options box and the pause menu with the real binary: the box opened from the menu switches to fullscreen
# and back (a 1280x1024 window, then 640x480 centred and titled again); Return held for 3 s on that row re-opens
# the window exactly once; the sound level changed in the box is in the saved record once it closes. A puzzle is
# paused with Escape, the box opened from the pause menu and closed, play resumed and played on; paused again and
# given up, the game goes back to the menu and files the result. Screenshots of both overlays at 640x480 and at
# 1280x1024 are kept beside this script's build folder for a person to look at.
[ -z "${DISPLAY:-}" ] && exec "$QUORLIX_WITH_DISPLAY" bash "$0" "$@"
. "$(dirname "$0")/lib.sh"
state="$work/.zindlestate"
window_box=640x480+320+272
pale='r>0.75 && g>0.75 && b>0.75'

# The game's windows as the display lists them now, one id a line.
game_windows() {
  xdotool search --onlyvisible --class GLFW-Application 2>/dev/null | sort -u
}

start_game
win=$(find_window) || fail "no window titled Quorlix appeared"
xdotool windowfocus --sync "$win"
sleep 1.5
# The cog: focus moves left from the wheel; Return opens the box.
hold "$win" Left
hold "$win" Return
sleep 1
shoot options_640x480 $window_box
[ "$(pixels options_640x480 540x300+50+150 'r>0.45 && r<0.75 && g>0.2 && g<0.42 && b<0.12')" -gt 30000 ] \
  || fail "no options box"

# Fullscreen and back from the box's second row.
hold "$win" Down
hold "$win" Down
hold "$win" Return
full=$(find_sized_window 1280x1024) || fail "the Fullscreen row did not make a 1280x1024 window"
xdotool windowfocus --sync "$full"
sleep 1.5
shoot options_1280x1024
hold "$full" Return
back=$(find_sized_window 640x480) || fail "the Windowed row did not bring back the 640x480 window"
[ "$(xdotool getwindowname "$back")" = "Quorlix" ] || fail "the window is not titled Quorlix again"
xdotool getwindowgeometry "$back" | grep -q 'Position: 320,272' || fail "the window is not centred"
win=$back
xdotool windowfocus --sync "$win"
sleep 1

# Return held on the row for 3 s: one new window, not one after every reload. The newest window is given the
# focus as a window manager would, so the key's repeats reach it.
before=$(game_windows)
xdotool keydown Return
seen="$before"
for _ in $(seq 30); do
  sleep 0.1
  now=$(game_windows)
  newest=$(comm -13 <(echo "$seen") <(echo "$now") | tail -n1)
  [ -n "$newest" ] && xdotool windowfocus "$newest" 2>/dev/null
  seen=$(printf '%s\n%s\n' "$seen" "$now" | sed '/^$/d' | sort -u)
done
xdotool keyup Return
sleep 0.5
opened=$(comm -13 <(echo "$before") <(echo "$seen") | wc -l)
[ "$opened" -eq 1 ] || fail "holding Return on the Fullscreen row opened $opened windows, not 1"
full=$(find_sized_window 1280x1024) || fail "the held Return did not leave the fullscreen window"
xdotool windowfocus --sync "$full"
sleep 1
hold "$full" Return
win=$(find_sized_window 640x480) || fail "no way back to the 640x480 window"
xdotool windowfocus --sync "$win"
sleep 1

# The sound row to Normal; Escape closes the box, which saves.
hold "$win" Up
hold "$win" Return
hold "$win" Escape
sleep 0.5
[ -s "$state" ] || fail "closing the box saved no record"
[ "$(record_field "$state" 6)" = 1 ] || fail "the saved sound level is $(record_field "$state" 6), not 1 (Normal)"

# A puzzle from the fifth group: the wheel turned down, the wheel's focus given back first.
hold "$win" Right
for _ in 1 2 3 4; do hold "$win" Down; done
hold "$win" Return
sleep 3
shoot playing $window_box
# Below the middle of the grid: the pale play background between the letters, which the pause menu darkens.
grid_box=200x150+130+300
[ "$(pixels playing $grid_box "$pale")" -gt 15000 ] || fail "no puzzle after Enter"

# Escape pauses; the box from the pause menu opens and closes; resume; play goes on.
hold "$win" Escape
sleep 2.5  # the toy's trail fills in
shoot pause_640x480 $window_box
[ "$(pixels pause_640x480 $grid_box "$pale")" -lt 200 ] || fail "Escape did not pause the puzzle"
hold "$win" Down
hold "$win" Return
sleep 1
shoot pause_options $window_box
hold "$win" Escape
sleep 1
hold "$win" Up
hold "$win" Return
sleep 1
shoot resumed $window_box
[ "$(pixels resumed $grid_box "$pale")" -gt 15000 ] || fail "Resume did not bring the puzzle back"
hold "$win" Left
hold "$win" Up

# The pause menu at 1280x1024, then quitting: the finishing panel gives up and the menu files the result.
hold "$win" Escape
sleep 0.5
press "$win" F11
full=$(find_sized_window 1280x1024) || fail "F11 did not make a 1280x1024 window"
xdotool windowfocus --sync "$full"
sleep 1.5
shoot pause_1280x1024
press "$full" F11
win=$(find_sized_window 640x480) || fail "no way back to the 640x480 window"
xdotool windowfocus --sync "$win"
sleep 1.5
hold "$win" Up
hold "$win" Return
sleep 3
[ "$(record_field "$state" 3)" = 4 ] || fail "the give-up was not filed: the last group played is $(record_field "$state" 3)"
shoot given_up $window_box
[ "$(pixels given_up 400x200+50+150 'r>0.47 && r<0.75 && g>0.2 && g<0.42 && b<0.16')" -gt 30000 ] \
  || fail "the menu did not come back after giving up"
press "$win" F4
wait_game 10
[ "$status" -eq 0 ] || fail "F4 ended with status $status"
echo "options_pause: ok"
