#!/usr/bin/env bash
# The Debian package: CPack makes quorlix_<version>_<arch>.deb with the control fields a Debian archive wants,
# dependencies on the libraries the game links, and exactly the files of the install under /usr with the game in
# /usr/games, the executable stripped, and the changelog and copyright file Debian asks for; lintian finds no
# error and no warning in it. Its dependencies resolve on this machine (apt-get, simulated); dpkg installs it into
# a scratch root of its own, where the changelog's latest entry is the package's version and the installed game
# runs from an unrelated folder to the end of its loading, every file from the installed data, and removing it
# leaves no file behind.
# NOTE: the install goes into a scratch root with a dpkg database of its own rather than into the machine's:
# installing for real would change the machine the tests run on, and a failing run could leave the package
# behind. The libraries it needs are the machine's, which the simulated apt-get run has shown to satisfy it.
[ -z "${DISPLAY:-}" ] && exec "$QUORLIX_WITH_DISPLAY" bash "$0" "$@"
. "$QUORLIX_SOURCE_DIR/tests/e2e/lib.sh"

cpack -G DEB --config "$QUORLIX_BUILD_DIR/CPackConfig.cmake" -B "$work/package" >"$work/cpack.txt" 2>&1 ||
  fail "cpack failed: $(tail -n 5 "$work/cpack.txt")"
deb="$work/package/quorlix_${QUORLIX_VERSION}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $(basename "$deb"); made: $(ls "$work/package")"

# Control fields.
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = quorlix ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$QUORLIX_VERSION" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = games ] || fail "Section: $(field Section)"
[ "$(field Maintainer)" = "The Quorlix Team <team@quorlix.org>" ] || fail "Maintainer: $(field Maintainer)"
depends=$(field Depends)
for library in libglfw3 libopenal1 libstb0 libgl1 libc6; do
  [[ ", $depends," == *", $library "* || ", $depends," == *", $library,"* ]] || fail "Depends lacks $library: $depends"
done
description=$(field Description)
[ "$(echo "$description" | head -n 1 | wc -c)" -gt 20 ] || fail "no synopsis: $description"
[ "$(echo "$description" | wc -l)" -ge 4 ] || fail "no long description: $description"
awk 'NR > 1 && length($0) > 80 { exit 1 }' <<<"$description" || fail "description lines are over 80 columns"

# The files: the install under /usr with the game in /usr/games and Debian's documents, nothing more, owned by
# root, the executable runnable by all.
dpkg-deb --contents "$deb" >"$work/contents.txt"
{
  echo ./usr/games/quorlix
  echo ./usr/share/doc/quorlix/changelog.gz
  echo ./usr/share/doc/quorlix/copyright
  echo ./usr/share/man/man6/quorlix.6.gz
  echo "./usr/share/applications/$QUORLIX_APP_ID.desktop"
  echo "./usr/share/metainfo/$QUORLIX_APP_ID.metainfo.xml"
  for size in 48 64 128 256; do echo "./usr/share/icons/hicolor/${size}x${size}/apps/$QUORLIX_APP_ID.png"; done
  (cd "$QUORLIX_BUILD_DIR/data" && find . -type f | sed 's|^\./|./usr/share/quorlix/data/|')
} | sort >"$work/want.txt"
awk '$1 !~ /^d/ { print $6 }' "$work/contents.txt" | sort >"$work/got.txt"
diff "$work/want.txt" "$work/got.txt" >"$work/diff.txt" ||
  fail "package files differ (< wanted, > packed): $(cat "$work/diff.txt")"
awk '$2 != "root/root" { exit 1 }' "$work/contents.txt" || fail "files not owned by root"
grep -q '^-rwxr-xr-x .* \./usr/games/quorlix$' "$work/contents.txt" || fail "games/quorlix is not mode 755"

# Debian's own checker: its errors and warnings fail the package, its info and pedantic notes do not.
command -v lintian >/dev/null || fail "lintian is not installed (scripts/install-deps installs it)"
lintian --no-cfg --fail-on error,warning "$deb" >"$work/lintian.txt" 2>&1 ||
  fail "lintian: $(grep -v '^running with root privileges' "$work/lintian.txt")"

# Its dependencies resolve here: every one is installed or installable.
apt-get install --simulate --no-install-recommends "$deb" >"$work/apt.txt" 2>&1 ||
  fail "apt-get cannot install the package: $(tail -n 5 "$work/apt.txt")"

# Installed by dpkg into the scratch root.
root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/log"
touch "$root/var/lib/dpkg/status"
in_root() { dpkg --root="$root" --log="$root/var/log/dpkg.log" --force-not-root "$@"; }
in_root --force-depends --install "$deb" >"$work/dpkg.txt" 2>&1 || fail "dpkg cannot install the package: $(tail -n 5 "$work/dpkg.txt")"
[ "$(dpkg-query --admindir="$root/var/lib/dpkg" --show --showformat='${Status}' quorlix)" = "install ok installed" ] ||
  fail "dpkg does not have the package installed: $(tail -n 5 "$work/dpkg.txt")"
readelf --sections "$root/usr/games/quorlix" | grep -q '\.debug_info' && fail "the packed executable is not stripped"
latest=$(zcat "$root/usr/share/doc/quorlix/changelog.gz" | dpkg-parsechangelog --file - --show-field Version)
[ "$latest" = "$QUORLIX_VERSION" ] || fail "the changelog's latest entry is $latest, the package is $QUORLIX_VERSION"
start_game_from "$root/usr/games/quorlix" "$root/usr/share/quorlix/data"
press "$win" F4
wait_game 10
[ "$status" -eq 0 ] || fail "F4 ended the installed game with status $status"
in_root --remove quorlix >"$work/remove.txt" 2>&1 || fail "dpkg cannot remove the package: $(tail -n 5 "$work/remove.txt")"
left=$(find "$root/usr" -type f 2>/dev/null | head -n 3)
[ -z "$left" ] || fail "removing the package left files behind: $left"
echo "debian package: ok ($(basename "$deb"), $(stat -c %s "$deb") bytes; Depends: $depends)"
