# Shared helpers of the end-to-end scripts: a temporary working folder, starting the real game under the
# current virtual display, finding its window, and waiting for it to end.
# Every script runs itself under a display of its own (tests/support/with-display) and sources this file.
set -u
work=$(mktemp -d)
game_pid=
trap 'if [ -n "$game_pid" ]; then kill -9 "$game_pid" 2>/dev/null; fi; rm -rf "$work"' EXIT
export ALSOFT_CONF="$work/alsoft.conf"
printf '[general]\ndrivers=null\n' > "$ALSOFT_CONF"

fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/out.txt" ] && { echo "--- game output:" >&2; cat "$work/out.txt" >&2; }
  exit 1
}

# Starts the game in the working folder, its output in $work/out.txt.
start_game() {
  (cd "$work" && exec "$QUORLIX_BIN" >"$work/out.txt" 2>"$work/err.txt") &
  game_pid=$!
}

# Prints the game's window id once it is mapped.
find_window() {
  local id=""
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name '^Quorlix$' 2>/dev/null | head -n1)
    [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || fail "no window titled Quorlix appeared"
  echo "$id"
}

# Waits up to $1 seconds for the game to end and sets $status to its exit status.
wait_game() {
  local limit=$(( $1 * 10 ))
  for _ in $(seq "$limit"); do
    if ! kill -0 "$game_pid" 2>/dev/null; then
      wait "$game_pid"
      status=$?
      game_pid=
      return
    fi
    sleep 0.1
  done
  fail "the game did not end within $1 s"
}
