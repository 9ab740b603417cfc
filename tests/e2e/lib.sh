# Shared helpers of the end-to-end scripts: a temporary working folder, starting the real game under the
# current virtual display, finding its window, and waiting for it to end.
# Every script sources this file and is run under a display of its own: CTest runs each one through
# tests/support/with-display (quorlix_script_test), and this file refuses any other display, so no script sends
# keys to someone's real screen or finds another test's windows.
set -u
if [ -z "${DISPLAY:-}" ] || [ "${DISPLAY:-}" != "${QUORLIX_DISPLAY:-}" ]; then
  echo "FAIL: not under a display of its own: run it as tests/support/with-display bash $0" >&2
  exit 1
fi
work=$(mktemp -d)
game_pid=
trap 'if [ -n "$game_pid" ]; then kill -9 "$game_pid" 2>/dev/null; fi; rm -rf "$work"' EXIT
export ALSOFT_CONF="$work/alsoft.conf"
printf '[general]\ndrivers=null\n' > "$ALSOFT_CONF"

fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/out.txt" ] && { echo "--- game output:" >&2; cat "$work/out.txt" >&2; }
  [ -s "$work/err.txt" ] && { echo "--- game errors:" >&2; cat "$work/err.txt" >&2; }
  exit 1
}

# Starts the game in the working folder, its output in $work/out.txt.
start_game() {
  (cd "$work" && exec "$QUORLIX_BIN" >"$work/out.txt" 2>"$work/err.txt") &
  game_pid=$!
}

# Prints the game's window id once it is mapped (waiting up to 30 s: a sanitizer build starts slowly).
# Use as win=$(find_window) || fail "...": a failure inside $(...) cannot end the script itself.
find_window() {
  local id=""
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name '^Quorlix$' 2>/dev/null | head -n1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$game_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
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

# Prints the visible game window of the given size (the fullscreen one has no title), waiting up to 10 s.
find_sized_window() {
  for _ in $(seq 100); do
    for w in $(xdotool search --onlyvisible --class GLFW-Application 2>/dev/null); do
      if xdotool getwindowgeometry "$w" 2>/dev/null | grep -q "Geometry: $1"; then
        echo "$w"
        return 0
      fi
    done
    sleep 0.1
  done
  return 1
}

# Gives a window the focus and types one key into it. NOTE: this display has no window manager to focus a new
# window, and without the focus the game is suspended and runs no update.
press() {
  xdotool windowfocus --sync "$1" && xdotool key --clearmodifiers "$2"
}

# Maps a small window of another program and gives it the focus, so the game loses its own.
steal_focus() {
  xmessage -geometry 80x40+0+0 -title other other &
  other_pid=$!
  local other=""
  for _ in $(seq 100); do
    other=$(xdotool search --onlyvisible --name '^other$' 2>/dev/null | head -n1)
    [ -n "$other" ] && break
    sleep 0.1
  done
  [ -n "$other" ] || fail "no second window"
  xdotool windowfocus --sync "$other"
}

# The messages of the progress record that the game printed.
record_messages() {
  grep -E '^(Settings|Badges|Badge|Highscores) ' "$work/out.txt"
}

# Field $2 (0-based) of the record text in file $1.
record_field() {
  tr '|' '\n' <"$1" | sed -n "$(( $2 + 1 ))p"
}
