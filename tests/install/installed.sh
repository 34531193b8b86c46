#!/bin/sh
# The Debian package on this machine: builds it, has lintian look at it,
# installs it, plays one game of the installed game started with the menu
# entry's Exec line under a virtual screen with a fresh HOME, and checks that
# the base and Zorban.ini landed in that home's data folder while the
# installed bundled base stayed as it was. Then it purges the package and
# checks that the player's folder is still there, untouched.
# Needs root or sudo (apt-get). Run from the source root: sh tests/install/installed.sh
set -eu
cd "$(dirname "$0")/../.."
BUILD_DIR="${BUILD_DIR:-build}"
if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
APT="$SUDO env DEBIAN_FRONTEND=noninteractive apt-get -y -qq -o DPkg::Lock::Timeout=300"

fail() {
    echo "installed package: $*" >&2
    exit 1
}

deb=$(BUILD_DIR="$BUILD_DIR" sh scripts/package.sh)
[ -f "$deb" ] || fail "scripts/package.sh did not name a package: $deb"
deb=$(readlink -f "$deb")
echo "package: $deb"
lintian --fail-on error "$deb" || fail "lintian reports an error"

home=$(mktemp -d "${TMPDIR:-/tmp}/zorban home.XXXXXX")
purged=false
cleanup() {
    $purged || $APT purge zorban >/dev/null 2>&1 || true
    rm -rf "$home"
}
trap cleanup EXIT

$APT install --reinstall "$deb" >/dev/null || fail "apt-get cannot install $deb"
bundled=/usr/share/zorban/QA/Base.QA
[ -f "$bundled" ] || fail "$bundled is not installed"
bundled_sum=$(sha256sum < "$bundled")
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/org.example.Zorban.desktop)
[ -n "$exec_line" ] || fail "the menu entry has no Exec line"

# A desktop session's PATH holds /usr/games (root's does not).
PATH="$PATH:/usr/games" python3 tests/e2e/play.py --exec "$exec_line" --home "$home" --out "$BUILD_DIR/tests/install/artifacts"

folder="$home/.local/share/zorban"
[ -f "$folder/QA/Base.QA" ] || fail "no base in the player's folder $folder/QA"
grep -q Tester "$folder/Zorban.ini" 2>/dev/null || fail "Zorban.ini in $folder lacks the player's name"
qabase info "$folder/QA/Base.QA" | grep -Eq '^Games played: *1$' ||
    fail "the player's base does not count the game: $(qabase info "$folder/QA/Base.QA")"
[ "$(sha256sum < "$bundled")" = "$bundled_sum" ] || fail "the installed bundled base changed"
player_sum=$(find "$folder" -type f -exec sha256sum {} + | sort)

$APT purge zorban >/dev/null || fail "apt-get cannot purge zorban"
purged=true
[ ! -e /usr/games/zorban ] && [ ! -e "$bundled" ] || fail "purge left the game's files behind"
[ "$(find "$folder" -type f -exec sha256sum {} + | sort)" = "$player_sum" ] ||
    fail "purge changed the player's folder $folder"
echo "installed package: installed, played from the menu entry's Exec line, purged; the player's folder is kept"
