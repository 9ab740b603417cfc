#!/usr/bin/env bash
# End to end: the real game with OpenAL Soft's wave writer. Closing the window ends the process with status 0,
# and the recording is a complete WAV file (its RIFF and data sizes match what was written), so later scripts
# can listen to what the game played.
# Environment: QUORLIX_BIN, QUORLIX_CLOSE_WINDOW (set by CTest, which runs it under a display of its own).
. "$(dirname "$0")/../e2e/lib.sh"
printf '[general]\ndrivers=wave\n[wave]\nfile=%s/out.wav\n' "$work" >"$ALSOFT_CONF"

start_game
win=$(find_window) || fail "no window titled Quorlix appeared"
sleep 1
"$QUORLIX_CLOSE_WINDOW" "$win"
wait_game 10
[ "$status" -eq 0 ] || fail "the close box ended the game with status $status"
grep -qx 'opening openal device' "$work/out.txt" || fail "no device line"

wav=$work/out.wav
size=$(stat -c %s "$wav")
riff=$(od -An -tu4 -j4 -N4 "$wav" | tr -d ' ')
data_at=$(grep -abo data "$wav" | head -n1 | cut -d: -f1)
data=$(od -An -tu4 -j$((data_at + 4)) -N4 "$wav" | tr -d ' ')
echo "recording: $size bytes, RIFF size $riff, data size $data at $data_at"
[ "$riff" -eq $((size - 8)) ] || fail "RIFF size does not match the file"
[ "$data" -eq $((size - data_at - 8)) ] || fail "data size does not match the file"
[ "$data" -gt 0 ] || fail "nothing recorded"
