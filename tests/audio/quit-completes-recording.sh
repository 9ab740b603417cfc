#!/usr/bin/env bash
# End to end: the real game under a virtual display with OpenAL Soft's wave writer. Closing the window ends
# the process with status 0, and the recording is a complete WAV file (its RIFF and data sizes match what
# was written), so later scripts can listen to what the game played.
# Environment: QUORLIX_BIN, QUORLIX_WITH_DISPLAY, QUORLIX_CLOSE_WINDOW (set by CTest).
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '[general]\ndrivers=wave\n[wave]\nfile=%s/out.wav\n' "$work" > alsoft.conf

cat > play.sh <<'SCRIPT'
ALSOFT_CONF=$PWD/alsoft.conf "$QUORLIX_BIN" > stdout.txt 2>&1 &
game=$!
window=$(timeout 30 xdotool search --sync --name '^Quorlix$' | head -n1)
sleep 1
"$QUORLIX_CLOSE_WINDOW" "$window"
for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$game" 2>/dev/null; then kill "$game"; echo "the game did not quit on the close box"; exit 1; fi
wait "$game"
SCRIPT
status=0
"$QUORLIX_WITH_DISPLAY" bash play.sh || status=$?
[ "$status" -eq 0 ] || { echo "exit status $status"; cat stdout.txt; exit 1; }
grep -qx 'opening openal device' stdout.txt || { echo "no device line"; cat stdout.txt; exit 1; }

size=$(stat -c %s out.wav)
riff=$(od -An -tu4 -j4 -N4 out.wav | tr -d ' ')
data_at=$(grep -abo data out.wav | head -n1 | cut -d: -f1)
data=$(od -An -tu4 -j$((data_at + 4)) -N4 out.wav | tr -d ' ')
echo "recording: $size bytes, RIFF size $riff, data size $data at $data_at"
[ "$riff" -eq $((size - 8)) ] || { echo "RIFF size does not match the file"; exit 1; }
[ "$data" -eq $((size - data_at - 8)) ] || { echo "data size does not match the file"; exit 1; }
[ "$data" -gt 0 ] || { echo "nothing recorded"; exit 1; }
