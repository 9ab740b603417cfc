#!/usr/bin/env bash
# With the real binary: no sound device (OpenAL told to use a driver that does not exist) and no game pad (the
# virtual display has none): the game says it runs without sound and plays a puzzle silently. A hostile record,
# a whole one followed by 100 MB of junk, loads what is whole without taking the memory the file would need, is
# told as far larger than progress ever is, and the next save replaces it with a whole record.
[ -z "${DISPLAY:-}" ] && exec "$QUORLIX_WITH_DISPLAY" bash "$0" "$@"
. "$(dirname "$0")/../e2e/lib.sh"
state="$work/.zindlestate"

# The player's lines on standard error other than the first run's, which says where progress will be kept.
told() {
  grep '^Quorlix: ' "$work/err.txt" | grep -v 'no saved progress yet'
}

# ---- No sound device, no pad ----
printf '[general]\ndrivers=no-such-driver\n' >"$ALSOFT_CONF"
start_game
win=$(find_window) || fail "no window titled Quorlix appeared"
xdotool windowfocus --sync "$win"
sleep 1.5
hold "$win" Return
sleep 1
hold "$win" z
hold "$win" Escape
hold "$win" Return
sleep 0.5
kill -0 "$game_pid" 2>/dev/null || fail "the game ended without sound"
steal_focus
for _ in $(seq 50); do [ -s "$state" ] && break; sleep 0.1; done
kill "$other_pid" 2>/dev/null
xdotool windowfocus --sync "$win"
press "$win" F4
wait_game 10
[ "$status" -eq 0 ] || fail "F4 ended with status $status"
[ "$(head -n2 "$work/out.txt")" = $'opening openal device\nOpenAl error: alcOpenDevice failed' ] \
  || fail "the device lines were: $(head -n2 "$work/out.txt")"
[ "$(told)" = "Quorlix: no sound device could be opened; the game runs without sound." ] \
  || fail "without a sound device the player was told: $(told)"
[ -s "$state" ] || fail "the silent game saved no record"
echo "no sound device: the game said"
told | sed 's/^/  /'

# ---- A whole record followed by 100 MB of junk ----
printf '[general]\ndrivers=null\n' >"$ALSOFT_CONF"
head -c $(( 100 * 1024 * 1024 )) /dev/urandom >>"$state"
inode=$(stat -c %i "$state")
start_game
win=$(find_window) || fail "no window titled Quorlix appeared"
xdotool windowfocus --sync "$win"
for _ in $(seq 100); do grep -q '^Highscores Loaded$' "$work/out.txt" && break; sleep 0.1; done
sleep 1
peak=$(awk '/^VmHWM/ { print $2 }' "/proc/$game_pid/status")
record_messages | tr '\n' ' ' | grep -qx 'Settings Loaded Badges Loaded Highscores Loaded ' \
  || fail "the whole record before the junk did not load: $(record_messages)"
[ "$(told)" = "Quorlix: $state is far larger than saved progress ever is; only its first 1 MB are read, and the next save replaces it with your progress." ] \
  || fail "with a 100 MB record the player was told: $(told)"
# A build without sanitizers peaks near 150 MB with or without the junk; reading all of the file took 1.1 GB.
[ "$peak" -lt 400000 ] || fail "loading took $peak kB of memory"
steal_focus
for _ in $(seq 50); do [ "$(stat -c %i "$state")" != "$inode" ] && break; sleep 0.1; done
kill "$other_pid" 2>/dev/null
[ "$(stat -c %s "$state")" -lt 200000 ] || fail "the save did not replace the huge record"
[ "$(tr -cd '|' <"$state" | wc -c)" -eq 10892 ] || fail "the new record is not whole"
xdotool windowfocus --sync "$win"
press "$win" F4
wait_game 10
[ "$status" -eq 0 ] || fail "F4 ended with status $status"
echo "100 MB record: peak memory $peak kB; the game said"
told | sed 's/^/  /'
echo "sound_and_record: ok"
