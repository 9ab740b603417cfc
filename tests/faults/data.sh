#!/usr/bin/env bash
# A data folder with files missing or damaged, and none at all, with the real binary copied beside it (the game
# finds its data beside the executable). The game starts, says on standard error which file is missing or damaged
# and that it runs without it, once each, and plays on: a puzzle is started and F4 still ends it with status 0.
[ -z "${DISPLAY:-}" ] && exec "$QUORLIX_WITH_DISPLAY" bash "$0" "$@"
. "$(dirname "$0")/../e2e/lib.sh"

game="$work/game"
mkdir -p "$game"
cp "$QUORLIX_BIN" "$game/quorlix"
cp -r "$(dirname "$QUORLIX_BIN")/data" "$game/data"
QUORLIX_BIN="$game/quorlix"
data="$game/data"

# The player's lines on standard error other than the first run's, which says where progress will be kept.
told() {
  grep '^Quorlix: ' "$work/err.txt" | grep -v 'no saved progress yet'
}

# Runs the game until loading is long over, starts a puzzle, plays on a while and ends it with F4.
play_through() {
  start_game
  win=$(find_window) || fail "no window titled Quorlix appeared"
  xdotool windowfocus --sync "$win"
  sleep 1.5
  hold "$win" Return
  sleep 1
  hold "$win" Right
  hold "$win" z
  sleep 0.5
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended on its own"
  press "$win" F4
  wait_game 10
  [ "$status" -eq 0 ] || fail "F4 ended with status $status"
  grep -q 'Zindle Runtime Error' "$work/out.txt" && fail "a runtime error"
}

# ---- Some files missing, some damaged (a 640x480 window loads the "-hd" art) ----
rm "$data/fonts/Mira_White-hd.png" "$data/sfx/004.wav"
head -c 100 "$data/common/light-hd.png" >"$work/cut" && mv "$work/cut" "$data/common/light-hd.png"
printf 'RIFF\0\0\0\0WAVEjunk' | dd of="$data/sfx/001.wav" conv=notrunc 2>/dev/null
head -c 5000 /dev/urandom >"$data/logo-hd.png"
play_through
expected="Quorlix: $data/sfx/001.wav is damaged or not a sound the game can play; the game runs without that sound.
Quorlix: $data/logo-hd.png is not a picture the game can show; the game runs without it.
Quorlix: $data/common/light-hd.png is damaged and cannot be shown; the game runs without it.
Quorlix: $data/fonts/Mira_White-hd.png is missing; the game runs without it.
Quorlix: $data/sfx/004.wav is missing; the game runs without it."
[ "$(told)" = "$expected" ] || fail "with files missing and damaged the player was told:
$(told)"
echo "files missing and damaged: the game said"
told | sed 's/^/  /'

# ---- No data folder at all ----
rm -r "$data"
play_through
expected="Quorlix: the game's data folder $data is missing; the game runs without pictures and sounds. Your progress is not affected."
[ "$(told)" = "$expected" ] || fail "without a data folder the player was told:
$(told)"
echo "no data folder: the game said"
told | sed 's/^/  /'
echo "data: ok"
