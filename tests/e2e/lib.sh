# Shared helpers of the end-to-end scripts: a temporary working folder, starting the real game under the
# current virtual display (traced, when a script wants the files it opens), finding its window, waiting for its
# loading and for its end.
# Every script sources this file and is run under a display of its own: CTest runs each one through
# tests/support/with-display (quorlix_script_test), and this file refuses any other display, so no script sends
# keys to someone's real screen or finds another test's windows.
set -u
if [ -z "${DISPLAY:-}" ] || [ "${DISPLAY:-}" != "${QUORLIX_DISPLAY:-}" ]; then
  echo "FAIL: not under a display of its own: run it as tests/support/with-display bash $0" >&2
  exit 1
fi
# NOTE: the scripts' settling times (a sleep of half a second or more: loading, a new window, a panel sliding in)
# and their limits on how soon the game does a thing are sized for a build without sanitizers or with
# AddressSanitizer. A ThreadSanitizer build loads several times slower, so its tests (tests/support/tsan.cmake)
# stretch both by QUORLIX_WAIT_SCALE. Shorter sleeps are key holds, whose length is what a script means, and
# polling steps, whose loop sets its own limit: they stay.
if [ -n "${QUORLIX_WAIT_SCALE:-}" ]; then
  sleep() { command sleep "$(awk -v s="$1" -v k="$QUORLIX_WAIT_SCALE" 'BEGIN { print s < 0.5 ? s : s * k }')"; }
fi
# A limit in seconds on how soon the game does a thing, for this build.
time_limit() {
  awk -v s="$1" -v k="${QUORLIX_WAIT_SCALE:-1}" 'BEGIN { print s * k }'
}
work=$(mktemp -d)
game_pid=
# NOTE: a traced game is strace's child, so it is ended by the process id it wrote itself (game.pid).
trap 'kill -9 "$(cat "$work/game.pid" 2>/dev/null)" 2>/dev/null; [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null
      rm -rf "$work"' EXIT
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

# Starts the game under strace in folder $1, every file it opens listed in $work/files.txt and its output in
# $work/out.txt. NOTE: LeakSanitizer cannot work under ptrace, so a sanitizer build runs without it here.
start_traced_game() {
  (cd "$1" && ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" exec strace -f -qq -e trace=openat \
    -o "$work/files.txt" sh -c 'echo $$ >"$0/game.pid"; exec "$1"' "$work" "$QUORLIX_BIN" >"$work/out.txt" \
    2>"$work/err.txt") &
  game_pid=$!
}

# The art files the loader reads, by base name, and its sound cues.
loader_art="common/icons common/Buttons common/dpad common/PLOVLogo fonts/shadow_editundo menu logo BadgesA parts
            common/circle common/light fonts/Mira_White fonts/Mira_Black"
loader_cues="001 002 003 004 005 095 096 098 099"

# The art and sound files the traced game opened, as full paths, one a line.
opened_assets() {
  grep -v ' = -1 ' "$work/files.txt" | grep -oE '"[^"]*\.(png|wav|ogg)"' | tr -d '"' | sort -u
}

# Waits up to 30 s until the traced game has opened every file the loader reads, from data folder $1 with the
# art at level suffix $2: the loader opens nothing after its last step, so then loading has finished.
wait_loaded() {
  local want="" missing
  for name in $loader_art; do want+="$1/$name$2.png"$'\n'; done
  for cue in $loader_cues; do want+="$1/sfx/$cue.wav"$'\n'; done
  for _ in $(seq 300); do
    missing=$(comm -23 <(printf '%s' "$want" | sort -u) <(opened_assets))
    [ -z "$missing" ] && return 0
    kill -0 "$game_pid" 2>/dev/null || fail "the game ended while loading"
    sleep 0.1
  done
  fail "loading did not finish within 30 s; never opened: $(echo $missing)"
}

# Starts the game $1 under strace in a folder of its own, $play, and waits for its window ($win) and the end of
# its loading; fails unless every art and sound file it opened lies in data folder $2.
start_game_from() {
  QUORLIX_BIN=$1
  play="$work/play"
  mkdir -p "$play"
  start_traced_game "$play"
  win=$(find_window) || fail "$1 showed no window titled Quorlix"
  xdotool windowfocus --sync "$win"
  wait_loaded "$2" -hd
  local strays
  strays=$(opened_assets | grep -v "^$2/")
  [ -z "$strays" ] || fail "files opened from outside $2: $strays"
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
      rm -f "$work/game.pid"
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

# Holds a key long enough for an update to see it held (the game's menus act on held keys, not key presses).
hold() {
  xdotool windowfocus --sync "$1" && xdotool keydown "$2" && sleep 0.15 && xdotool keyup "$2" && sleep 0.1
}

# Takes a screenshot of the display's box $2 (WxH+X+Y; the whole display when left out) as $1.png, and keeps a
# copy in the build tree for a person to look at.
shoot() {
  if [ -n "${2:-}" ]; then
    import -window root -crop "$2" +repage "$work/$1.png" || fail "no screenshot"
  else
    import -window root "$work/$1.png" || fail "no screenshot"
  fi
  cp "$work/$1.png" "${QUORLIX_SHOTS:-$work}/$1.png"
}

# Number of pixels of screenshot $1 in the box $2 (WxH+X+Y) that pass the colour test $3 (an fx expression).
pixels() {
  convert "$work/$1.png" -crop "$2" +repage -fx "$3" -format '%[fx:round(mean*w*h)]' info:
}
