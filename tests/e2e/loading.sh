#!/usr/bin/env bash
# Loading with the real binary: the start jingle sounds once, within the first second, and not again when F11
# makes the window fullscreen and back (each a new window size, so all art is loaded again). The files the game
# opens show the art level: the starting 640x480 window reads the "-hd" art, the 1280x1024 fullscreen window
# the "-hd2" art, and the same window made 1240 pixels wide by the window system (no new window: the size comes
# with the window's events) the "-hd2" art again.
. "$(dirname "$0")/lib.sh"

# The art files named in lines $1.. of the open-file trace, one base name and suffix a line.
opened_art() {
  tail -n +"$1" "$work/files.txt" | grep -o 'data/[^"]*\.png' | sed 's|^data/||' | grep -v '^dravo_font' | sort -u
}
# Fails unless every art file was opened at the suffix $2 (and no other) in lines $1.. of the trace.
expect_art_level() {
  local got want=""
  got=$(opened_art "$1")
  for name in $loader_art; do want+="$name$2.png"$'\n'; done
  [ "$got" = "$(printf '%s' "$want" | sort -u)" ] || fail "art read at the wrong level (want $2): $got"
}

printf '[general]\ndrivers=wave\nchannels=stereo\nsample-type=float32\n[wave]\nfile=%s\n' "$work/out.wav" >"$ALSOFT_CONF"
start_traced_game "$work"
win=$(find_window) || fail "no window titled Quorlix appeared"
xdotool windowfocus --sync "$win"
sleep 2
expect_art_level 1 -hd

mark=$(( $(wc -l <"$work/files.txt") + 1 ))
press "$win" F11
full=$(find_sized_window 1280x1024) || fail "F11 did not make a 1280x1024 window"
xdotool windowfocus --sync "$full"
sleep 2
expect_art_level "$mark" -hd2

mark=$(( $(wc -l <"$work/files.txt") + 1 ))
press "$full" F11
back=$(find_sized_window 640x480) || fail "a second F11 did not bring back the 640x480 window"
xdotool windowfocus --sync "$back"
sleep 2
expect_art_level "$mark" -hd

mark=$(( $(wc -l <"$work/files.txt") + 1 ))
xdotool windowsize "$back" 1240 500
sleep 2
expect_art_level "$mark" -hd2

press "$back" F4
wait_game 10
[ "$status" -eq 0 ] || fail "F4 ended with status $status"

# One sound in the whole run, starting within the first second: the jingle (quiet gaps inside it are bridged).
"$QUORLIX_WAVE_ONSETS" "$work/out.wav" 0.02 0.5 >"$work/onsets.txt" || fail "no complete recording"
length=$(awk '/^length/ {print $2}' "$work/onsets.txt")
onsets=$(awk '/^onset/ {print $2}' "$work/onsets.txt")
awk -v l="$length" 'BEGIN { exit !(l > 6) }' || fail "the recording is only $length s long"
[ "$(echo "$onsets" | grep -c .)" -eq 1 ] || fail "sounds started at: $(echo $onsets) (want the jingle once)"
first=$(time_limit 1.0)
awk -v t="$onsets" -v l="$first" 'BEGIN { exit !(t < l) }' || fail "the jingle started at $onsets s, not within $first s"
echo "loading: ok (jingle at $onsets s of $length s)"
