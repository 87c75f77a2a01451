#!/bin/sh
# The game installed into a temporary prefix, as a player gets it: its desktop
# entry, metainfo and man page are valid, and the game started from another
# folder keeps its settings in the player's config folder and nowhere else.
#   installed_game_test.sh BUILD_DIR
set -u
BUILD=$(realpath "$1")
. "$(dirname "$0")/../window/xvfb_lib.sh"

PREFIX="$WORK/prefix"
cmake --install "$BUILD" --prefix "$PREFIX" >"$WORK/install.log" 2>&1 ||
    fail "install failed: $(cat "$WORK/install.log")"
for size in 16 32 48 64 128 256; do
    file "$PREFIX/share/icons/hicolor/${size}x$size/apps/volleen.png" |
        grep -q "PNG image data, $size x $size" || fail "no ${size}px icon"
done
desktop-file-validate "$PREFIX/share/applications/volleen.desktop" ||
    fail "desktop-file-validate refused the entry"
appstreamcli validate --no-net "$PREFIX"/share/metainfo/*.metainfo.xml >"$WORK/appstream" 2>&1 ||
    fail "appstreamcli refused the metainfo: $(cat "$WORK/appstream")"
MANWIDTH=80 man -l "$PREFIX/share/man/man6/volleen.6.gz" 2>"$WORK/man.err" >"$WORK/man.txt" &&
    [ ! -s "$WORK/man.err" ] && grep -q "skip-intro" "$WORK/man.txt" ||
    fail "the man page does not render: $(cat "$WORK/man.err")"

# What the prefix holds before the game runs, to see that it writes nothing there.
snapshot() { (cd "$PREFIX" && find . -print0 | sort -z | xargs -0 ls -ld --time-style=+%s.%N); }
snapshot >"$WORK/prefix.before"

start_xvfb
mkdir -p "$WORK/elsewhere" "$WORK/home"
cd "$WORK/elsewhere" || fail "no working folder"
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config"
KEYS="$XDG_CONFIG_HOME/volleen/keys.dat"
OFF="rgb(255,112,96)"

run_game() {
    "$PREFIX/bin/volleen" --skip-intro >"$WORK/game.out" 2>"$WORK/game.err" &
    GAME_PID=$!
    TEST_PIDS=$GAME_PID
    sleep 1
    wait_for_window >/dev/null || fail "no window: $(cat "$WORK/game.err")"
}

quit_game() {
    xdotool keydown q
    wait_for_exit "$GAME_PID" 30 || fail "the game did not end after Q"
    xdotool keyup q
    [ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS: $(cat "$WORK/game.err")"
}

# First run: M held from the logos on (they read no keys) switches the music
# off once the menu is up, and that is saved at once.
run_game
xdotool keydown m
for _ in $(seq 300); do
    [ -f "$KEYS" ] && break
    sleep 0.1
done
xdotool keyup m
[ -f "$KEYS" ] || fail "no $KEYS after M: $(cat "$WORK/game.err")"
quit_game
[ "$(od -An -tx1 -v "$KEYS" | tr -d ' \n')" = "cb000000cd0000001e0000002000000000000000" ] ||
    fail "keys.dat holds $(od -An -tx1 -v "$KEYS")"

# Second run: the menu shows the music off.
run_game
wait_for_colour "$OFF" 30 20 || fail "the menu does not show the music Off"
quit_game

[ -z "$(ls -A "$WORK/elsewhere")" ] || fail "written in the working folder: $(ls -A)"
[ -z "$(ls -A "$WORK/home")" ] || fail "written in the home folder: $(ls -A "$WORK/home")"
[ "$(ls -A "$XDG_CONFIG_HOME/volleen")" = "keys.dat" ] || fail "more than keys.dat in the config"
[ "$(stat -c %a "$XDG_CONFIG_HOME/volleen")" = 700 ] || fail "the settings folder is not private"
snapshot | cmp -s - "$WORK/prefix.before" || fail "the prefix changed while the game ran"
echo "installed game test passed"
