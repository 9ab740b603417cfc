#!/usr/bin/env bash
# The progress record with the real binary: a first run finds nothing and F4 saves nothing; losing the focus
# writes the whole record; a record whose settings checksum is wrong loads its result lists and badges all the
# same.
. "$(dirname "$0")/lib.sh"
state="$work/.zindlestate"

# A first run: only "Highscores Loaded"; F4 ends it with status 0 and writes nothing.
start_game
win=$(find_window) || fail "no window titled Quorlix appeared"
xdotool windowfocus --sync "$win"
sleep 0.5
press "$win" F4
wait_game 10
[ "$status" -eq 0 ] || fail "F4 ended with status $status"
[ "$(record_messages)" = "Highscores Loaded" ] || fail "first run printed: $(record_messages)"
[ -e "$state" ] && fail "F4 saved a record"

# Losing the focus suspends the game, which saves the whole record.
start_game
win=$(find_window) || fail "no window titled Quorlix appeared"
xdotool windowfocus --sync "$win"
sleep 0.5
steal_focus
for _ in $(seq 50); do [ -s "$state" ] && break; sleep 0.1; done
[ -s "$state" ] || fail "losing the focus wrote no record"
fields=$(tr -cd '|' <"$state" | wc -c)
[ "$fields" -eq 10892 ] || fail "the record has $fields fields, not 10892"
[ "$(record_field "$state" 25)" = 1483 ] || fail "settings checksum of a first record is not 1483"
press "$win" F4
wait_game 10
kill "$other_pid" 2>/dev/null

# A record edited by hand: setting 5 changed without its checksum, a badge and a result row present.
# Badge word 0 = 5 (flags 0 and 2), C2 = 5; group 3's best list 6,4 and last list 4 give R_3 = 6*4+4*5+4*6 = 68.
tr '|' '\n' <"$state" | head -n 10892 >"$work/fields"
sed -i '6s/.*/2/; 27s/.*/5/; 35s/.*/5/' "$work/fields"
row=$(( 35 + 3 * 21 ))
sed -i "$(( row + 1 ))s/.*/6/; $(( row + 2 ))s/.*/4/; $(( row + 3 ))s/.*/4/; $(( row + 21 ))s/.*/68/" "$work/fields"
tr '\n' '|' <"$work/fields" >"$state"
start_game
win=$(find_window) || fail "no window titled Quorlix appeared"
xdotool windowfocus --sync "$win"
sleep 0.5
expected=$'Settings Checksum Invalid\nBadges Loaded\nHighscores Loaded'
[ "$(record_messages)" = "$expected" ] || fail "damaged settings printed: $(record_messages)"
steal_focus
sleep 1
[ "$(record_field "$state" 5)" = 1 ] || fail "setting 5 was not reset to 1"
[ "$(record_field "$state" 26)" = 5 ] || fail "the badges were not kept"
[ "$(record_field "$state" $row)" = 6 ] || fail "group 3's best result was not kept"
[ "$(record_field "$state" $(( row + 20 )))" = 68 ] || fail "group 3's row checksum changed"
press "$win" F4
wait_game 10
kill "$other_pid" 2>/dev/null
echo "record: ok"
