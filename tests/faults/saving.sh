#!/usr/bin/env bash
# Saving where it cannot succeed, with the real binary. On a full disk (a small tmpfs, filled) a save leaves the
# old record whole, byte for byte and on the same inode, the game runs on and says once that progress could not be
# saved; once there is room the next save works and says so. In a read-only folder the game runs, says once that
# progress cannot be saved, and nothing on disk changes; without an earlier record it says that nothing is kept.
# NOTE: root ignores file permissions, so the folders are made unwritable by mounting; the mounts live in a mount
# namespace of this script's own and vanish with it. Without root (or namespaces) the full disk is skipped with a
# message and the read-only folder is made by permissions instead.
[ -z "${DISPLAY:-}" ] && exec "$QUORLIX_WITH_DISPLAY" bash "$0" "$@"
if [ -z "${QUORLIX_OWN_MOUNTS:-}" ] && [ "$(id -u)" -eq 0 ] && unshare -m true 2>/dev/null; then
  QUORLIX_OWN_MOUNTS=1 exec unshare -m --propagation private bash "$0" "$@"
fi
. "$(dirname "$0")/../e2e/lib.sh"
eval "$(trap -p EXIT | sed 's/^trap -- /lib_cleanup=/; s/ EXIT$//')"
trap 'umount -l "$work/disk" "$work/ro" "$work/empty-ro" 2>/dev/null; chmod -R u+w "$work" 2>/dev/null; eval "$lib_cleanup"' EXIT

# Starts the game in folder $1 and waits for its window ($win) and its first run or record lines.
start_in() {
  (cd "$1" && exec "$QUORLIX_BIN" >"$work/out.txt" 2>"$work/err.txt") &
  game_pid=$!
  win=$(find_window) || fail "no window titled Quorlix appeared"
  xdotool windowfocus --sync "$win"
  for _ in $(seq 100); do grep -q '^Highscores Loaded$' "$work/out.txt" && break; sleep 0.1; done
  sleep 0.5
}

# Takes the focus away (the game suspends and saves) and gives it back; waits $1 seconds for the save.
suspend_and_resume() {
  steal_focus
  sleep "$1"
  kill "$other_pid" 2>/dev/null
  xdotool windowfocus --sync "$win"
  sleep 0.3
}

# Ends the game with F4 and checks that it was alive to the end.
quit_game() {
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended on its own"
  press "$win" F4
  wait_game 10
  [ "$status" -eq 0 ] || fail "F4 ended with status $status"
  grep -q 'Zindle Runtime Error' "$work/out.txt" && fail "a runtime error"
}

# The player's lines on standard error other than the first run's, which says where progress will be kept.
told() {
  grep '^Quorlix: ' "$work/err.txt" | grep -v 'no saved progress yet'
}

# A record with progress in it, written by the game itself into folder $1: a first run, a suspend, F4.
make_record() {
  start_in "$1"
  suspend_and_resume 1
  [ -s "$1/.zindlestate" ] || fail "the first run saved no record"
  quit_game
}

if [ -n "${QUORLIX_OWN_MOUNTS:-}" ]; then
  # ---- A full disk ----
  disk="$work/disk"
  mkdir "$disk"
  mount -t tmpfs -o size=256k tmpfs "$disk" || fail "no tmpfs could be mounted"
  make_record "$disk"
  sum=$(md5sum <"$disk/.zindlestate")
  inode=$(stat -c %i "$disk/.zindlestate")
  # Fill every last byte: blocks first, then the tail a byte at a time.
  dd if=/dev/zero of="$disk/filler" bs=4096 2>/dev/null
  dd if=/dev/zero of="$disk/tail" bs=1 2>/dev/null
  start_in "$disk"
  suspend_and_resume 1.5
  suspend_and_resume 1.5
  expected="Quorlix: progress could not be saved to $disk/.zindlestate (No space left on device); your earlier progress is kept, but nothing new is saved until there is space on the disk again."
  [ "$(told)" = "$expected" ] || fail "on a full disk the player was told: $(told)"
  [ "$(md5sum <"$disk/.zindlestate")" = "$sum" ] || fail "the old record changed"
  [ "$(stat -c %i "$disk/.zindlestate")" = "$inode" ] || fail "the old record was replaced"
  [ -e "$disk/.zindlestate.new" ] && fail "a half-written record was left behind"
  tr -cd '|' <"$disk/.zindlestate" | wc -c | grep -qx 10892 || fail "the old record is not whole"
  # Room again: the next save works, and the player hears so.
  rm "$disk/filler" "$disk/tail"
  suspend_and_resume 1.5
  [ "$(told | tail -n1)" = "Quorlix: progress saved to $disk/.zindlestate again; nothing is lost." ] \
    || fail "saving again was told as: $(told | tail -n1)"
  [ "$(stat -c %i "$disk/.zindlestate")" != "$inode" ] || fail "the record was not saved once there was room"
  tr -cd '|' <"$disk/.zindlestate" | wc -c | grep -qx 10892 || fail "the new record is not whole"
  quit_game
  echo "full disk: the game said"
  told | sed 's/^/  /'
else
  echo "SKIP: the full disk needs root and a mount namespace of its own to mount a small tmpfs; not tried"
fi

# ---- A read-only folder, with and without an earlier record ----
if [ -z "${QUORLIX_OWN_MOUNTS:-}" ] && [ "$(id -u)" -eq 0 ]; then
  echo "SKIP: root writes through permissions and no mount namespace is at hand; the read-only folder is not tried"
  exit 0
fi
ro="$work/ro"
mkdir "$ro"
make_record "$ro"
mkdir "$work/empty-ro"
if [ -n "${QUORLIX_OWN_MOUNTS:-}" ]; then
  mount --bind "$ro" "$ro" && mount -o remount,bind,ro "$ro" || fail "the folder could not be made read-only"
  mount --bind "$work/empty-ro" "$work/empty-ro" && mount -o remount,bind,ro "$work/empty-ro" \
    || fail "the empty folder could not be made read-only"
  reason="Read-only file system"
else
  chmod a-w "$ro" "$work/empty-ro"
  reason="Permission denied"
fi
listing=$(ls -la --time-style=full-iso "$ro")
sum=$(md5sum <"$ro/.zindlestate")
start_in "$ro"
suspend_and_resume 1.5
suspend_and_resume 1.5
expected="Quorlix: progress could not be saved to $ro/.zindlestate ($reason); your earlier progress is kept, but nothing new is saved until the folder can be written to."
[ "$(told)" = "$expected" ] || fail "in a read-only folder the player was told: $(told)"
quit_game
[ "$(md5sum <"$ro/.zindlestate")" = "$sum" ] || fail "the record changed"
[ "$(ls -la --time-style=full-iso "$ro")" = "$listing" ] || fail "the folder changed"
echo "read-only folder: the game said"
told | sed 's/^/  /'

start_in "$work/empty-ro"
suspend_and_resume 1.5
expected="Quorlix: progress could not be saved to $work/empty-ro/.zindlestate ($reason); the game runs on, but nothing you do is kept until the folder can be written to."
[ "$(told)" = "$expected" ] || fail "in a read-only folder without a record the player was told: $(told)"
quit_game
[ -z "$(ls -A "$work/empty-ro")" ] || fail "something was written into the read-only folder"
echo "read-only folder without a record: the game said"
grep '^Quorlix: ' "$work/err.txt" | sed 's/^/  /'
echo "saving: ok"
