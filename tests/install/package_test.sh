#!/bin/sh
# The .deb: built from the already built tree, it holds everything a player
# needs, lintian finds no error in it, and the game unpacked from it runs as
# far as its menu.
#   package_test.sh BUILD_DIR
set -u
BUILD=$(realpath "$1")
. "$(dirname "$0")/../window/xvfb_lib.sh"

cpack --config "$BUILD/CPackConfig.cmake" -B "$WORK/package" >"$WORK/cpack.log" 2>&1 ||
    fail "cpack failed: $(cat "$WORK/cpack.log")"
DEB=$(ls "$WORK"/package/volleen_*_*.deb 2>/dev/null | head -n1)
[ -n "$DEB" ] || fail "no volleen_<version>_<arch>.deb: $(cat "$WORK/cpack.log")"

dpkg-deb -c "$DEB" | awk '{ print $NF }' >"$WORK/contents"
for path in ./usr/games/volleen ./usr/share/games/volleen/TITLE8.BMP \
    ./usr/share/games/volleen/MUSIC.WAV ./usr/share/games/volleen/volleen-icon.bmp \
    ./usr/share/applications/volleen.desktop ./usr/share/man/man6/volleen.6.gz \
    ./usr/share/doc/volleen/copyright ./usr/share/doc/volleen/changelog.gz \
    ./usr/share/doc/volleen/README.md ./usr/share/doc/volleen/FONT-LICENSE; do
    grep -qx "$path" "$WORK/contents" || fail "the package lacks $path"
done
[ "$(grep -c '^./usr/share/games/volleen/.*\.\(BMP\|bmp\|WAV\)$' "$WORK/contents")" = 20 ] ||
    fail "the package does not hold the 20 data files"
[ "$(grep -c '^./usr/share/icons/hicolor/[0-9]*x[0-9]*/apps/volleen.png$' "$WORK/contents")" = 6 ] ||
    fail "the package does not hold the 6 icons"
grep -q '^./usr/share/metainfo/.*\.metainfo\.xml$' "$WORK/contents" || fail "no metainfo"
grep -q 'keys.dat' "$WORK/contents" && fail "the package holds a keys.dat"

[ "$(dpkg-deb -f "$DEB" Section)" = games ] || fail "section is not games"
depends=$(dpkg-deb -f "$DEB" Depends)
for package in fonts-dejavu-core libsdl2-2.0-0 libsdl2-ttf-2.0-0 libc6; do
    echo "$depends" | grep -q "$package" || fail "Depends lacks $package: $depends"
done

lintian "$DEB" >"$WORK/lintian" 2>&1
grep -q '^E:' "$WORK/lintian" && fail "lintian found errors: $(cat "$WORK/lintian")"
grep '^W:' "$WORK/lintian"

ROOT="$WORK/root"
dpkg-deb -x "$DEB" "$ROOT" || fail "dpkg-deb -x failed"
start_xvfb
mkdir -p "$WORK/elsewhere"
cd "$WORK/elsewhere" || fail "no working folder"
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config"
"$ROOT/usr/games/volleen" --skip-intro >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!
TEST_PIDS=$GAME_PID
sleep 1
wait_for_window >/dev/null || fail "no window: $(cat "$WORK/game.err")"
# The key names under the title, in the menu's green.
wait_for_colour "rgb(150,240,120)" 30 50 || fail "the menu did not show: $(cat "$WORK/game.err")"
xdotool keydown q
wait_for_exit "$GAME_PID" 30 || fail "the game did not end after Q"
xdotool keyup q
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS: $(cat "$WORK/game.err")"
echo "package test passed ($(wc -c <"$DEB") bytes)"
