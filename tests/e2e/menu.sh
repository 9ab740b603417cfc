#!/usr/bin/env bash
# The main menu with the real binary: a first run shows the menu within 2 s with the tutorial selected; Enter
# starts the tutorial (its hint marker pulses on the grid); Escape in the menu quits with status 0 and saves
# nothing; with the side panel open, Escape closes it first and a second Escape quits. A record holding a finished
# tutorial shows its gold medal. The screenshots (menu, menu turned, side panel, the medal, the tutorial) are kept
# beside this script's build folder for a person to look at.
[ -z "${DISPLAY:-}" ] && exec "$QUORLIX_WITH_DISPLAY" bash "$0" "$@"
. "$(dirname "$0")/lib.sh"
state="$work/.zindlestate"

# The game's 640x480 window on the display; screenshots are taken of it, and boxes are given in its pixels.
window_box=640x480+320+272
menu_orange='r>0.47 && r<0.75 && g>0.2 && g<0.42 && b<0.16'
warm='r-b>0.27 && g>0.3'

# A first run: within 2 s the menu's orange covers the screen left of the strip, and the tutorial is selected:
# its medal sits on the pointer line, at 48 degrees from the wheel's centre (38, 416), 179 out.
start_game
win=$(find_window) || fail "no window titled Quorlix appeared"
xdotool windowfocus --sync "$win"
shown=
for i in $(seq 20); do
  shoot menu $window_box
  if [ "$(pixels menu 400x200+50+150 "$menu_orange")" -gt 30000 ]; then shown=$i; break; fi
  sleep 0.1
done
[ -n "$shown" ] || fail "no menu within 2 s"
sleep 1
shoot menu $window_box
[ "$(pixels menu 40x40+151+276 'r<0.35 && g<0.35 && b<0.35')" -gt 300 ] || fail "the tutorial's medal is not on the line"

# The wheel turned with the down key; back to the tutorial with the up key.
for _ in 1 2 3 4 5 6; do hold "$win" Down; done
sleep 1
shoot menu_turned $window_box
for _ in 1 2 3 4 5 6; do hold "$win" Up; done

# The side panel: focus the strip, open it; Escape closes it first, a second Escape quits without saving.
hold "$win" Right
hold "$win" Return
sleep 1.5
shoot side_panel $window_box
[ "$(pixels side_panel 400x480+0+0 "$menu_orange")" -lt 200 ] || fail "the side panel did not open over the menu"
hold "$win" Escape
sleep 1
kill -0 "$game_pid" 2>/dev/null || fail "Escape with the side panel open quit the game"
shoot side_panel_closed $window_box
[ "$(pixels side_panel_closed 400x200+50+150 "$menu_orange")" -gt 30000 ] || fail "Escape did not close the panel"
hold "$win" Escape
wait_game 10
[ "$status" -eq 0 ] || fail "Escape in the menu ended with status $status"
[ -e "$state" ] && fail "quitting from the menu saved a record"

# Enter starts the tutorial: the pale play screen, and the hint marker pulsing on the grid.
start_game
win=$(find_window) || fail "no window titled Quorlix appeared"
xdotool windowfocus --sync "$win"
sleep 1.5
hold "$win" Return
sleep 3
shoot tutorial $window_box
[ "$(pixels tutorial 400x440+120+20 'r>0.75 && g>0.75 && b>0.75')" -gt 60000 ] || fail "no play screen after Enter"
[ "$(pixels tutorial 460x460+90+10 "$warm")" -gt 450 ] || fail "no hint marker: not the tutorial"
press "$win" F4
wait_game 10

# A record with the tutorial completed once (best and last result 6) shows its gold medal.
{
  for i in $(seq 0 24); do case $i in 5) printf '1|' ;; 10|11) printf '64|' ;; 12) printf '10|' ;; 14) printf '1|' ;; *) printf '0|' ;; esac; done
  printf '1483|'
  for _ in $(seq 9); do printf '0|'; done
  # Row 0: A0 = 6, B0 = 6, the rest 0; R0 = 6 * 4 + 6 * 3 = 42.
  printf '6|6|'; for _ in $(seq 18); do printf '0|'; done; printf '42|'
  for _ in $(seq 516); do for _ in $(seq 21); do printf '0|'; done; done
} >"$state"
start_game
win=$(find_window) || fail "no window titled Quorlix appeared"
xdotool windowfocus --sync "$win"
sleep 2
shoot menu_medal $window_box
grep -q '^Highscores Loaded' "$work/out.txt" || fail "the record was not read"
[ "$(pixels menu_medal 90x90+126+251 'r>0.7 && g>0.55 && b<0.35')" -gt 800 ] || fail "no gold medal on the tutorial"
press "$win" F4
wait_game 10
echo "menu: ok"
