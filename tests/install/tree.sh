#!/usr/bin/env bash
# The install: `cmake --install` into a scratch prefix lays out the executable in bin/ (games/ and Debian's
# documents are the package's alone), its data byte for byte, the icon at every size, the launcher entry, the
# software centre's entry and the manual page; both entries validate, the launcher names the installed executable
# and icon, and man finds the page from the executable's folder on the PATH. The installed game, started from an
# unrelated folder, loads every file from the installed data and nothing from the build tree, and keeps its record
# in the folder it was started from.
[ -z "${DISPLAY:-}" ] && exec "$QUORLIX_WITH_DISPLAY" bash "$0" "$@"
. "$QUORLIX_SOURCE_DIR/tests/e2e/lib.sh"

prefix="$work/prefix"
cmake --install "$QUORLIX_BUILD_DIR" --prefix "$prefix" >"$work/install.txt" 2>&1 ||
  fail "cmake --install failed: $(tail -n 5 "$work/install.txt")"
share="$prefix/share"
data="$share/quorlix/data"
desktop="$share/applications/$QUORLIX_APP_ID.desktop"
metainfo="$share/metainfo/$QUORLIX_APP_ID.metainfo.xml"

diff -r "$QUORLIX_BUILD_DIR/data" "$data" >"$work/diff.txt" ||
  fail "installed data differ: $(head -n 5 "$work/diff.txt")"
desktop-file-validate "$desktop" >"$work/validate.txt" 2>&1 || fail "desktop-file-validate: $(cat "$work/validate.txt")"
appstreamcli validate --no-net "$metainfo" >"$work/validate.txt" 2>&1 ||
  fail "appstreamcli validate: $(cat "$work/validate.txt")"
# The whole tree: the software centre's entry finds its launcher entry there.
appstreamcli validate-tree --no-net "$prefix" >"$work/validate.txt" 2>&1 ||
  fail "appstreamcli validate-tree: $(cat "$work/validate.txt")"
executable=$(sed -n 's/^Exec=//p' "$desktop")
[ -f "$prefix/bin/$executable" ] && [ -x "$prefix/bin/$executable" ] ||
  fail "the launcher runs $executable, which is not in bin/"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 48 64 128 256; do
  [ -f "$share/icons/hicolor/${size}x${size}/apps/$icon.png" ] || fail "no $icon icon of $size pixels"
done
[ ! -e "$prefix/games" ] && [ ! -e "$share/doc/quorlix" ] || fail "the package's own files landed in the install"
page=$(env -u MANPATH PATH="$prefix/bin:/usr/bin:/bin" man -w quorlix 2>&1)
[ "$page" = "$share/man/man6/quorlix.6.gz" ] || fail "man quorlix finds $page, not the installed page"

# The installed game, from a folder of its own.
start_game_from "$prefix/bin/quorlix" "$data"
grep -qx 'Highscores Loaded' "$work/out.txt" || fail "the installed game did not load its record"
import -window "$win" "$QUORLIX_SHOTS/installed_game.png"

# Losing the focus saves the record, in the folder the game was started from and nowhere in the install.
steal_focus
for _ in $(seq 50); do [ -s "$play/.zindlestate" ] && break; sleep 0.1; done
[ -s "$play/.zindlestate" ] || fail "no record in the folder the game was started from"
[ -z "$(find "$prefix" -name '.zindlestate*')" ] || fail "a record landed in the install"
press "$win" F4
wait_game 10
kill "$other_pid" 2>/dev/null
[ "$status" -eq 0 ] || fail "F4 ended the installed game with status $status"
echo "install tree: ok ($(opened_assets | wc -l) files from $data)"
