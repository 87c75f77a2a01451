#!/bin/sh
# volleen.exe under wine in a private Xvfb, and the native game beside it.
#   smoke_test.sh GAME_FOLDER NATIVE_GAME DATA_DIR     ($WINEPREFIX made ready)
# The Windows game, started in its own folder as a double click does, finds
# its data and font beside it and shows the menu with the same pixels as the
# native game's window; M twice saves keys.dat twice into
# %APPDATA%\volleen\ (music off, then on again: the second save replaced the
# first); Q ends it with status 0.
set -u
FOLDER=$(realpath "$1")
NATIVE=$(realpath "$2")
DATA=$(realpath "$3")
. "$(dirname "$0")/../window/xvfb_lib.sh"
start_xvfb
XDG_CONFIG_HOME="$WORK/config"
export XDG_CONFIG_HOME

# Starts a game (NAME, then its command) in a window.
start_game() {
    name=$1
    shift
    "$@" >"$WORK/$name.out" 2>"$WORK/$name.err" &
    GAME_PID=$!
    TEST_PIDS="$TEST_PIDS $GAME_PID"
    WINDOW=$(wait_for_window) || fail "$name: no window: $(cat "$WORK/$name.err")"
    xdotool mousemove --window "$WINDOW" 10 10
}

# How many pixels of the window differ from the picture $1.
differing_from() {
    import -window "$WINDOW" "$WORK/now.png" 2>/dev/null || echo "no screenshot"
    compare -metric AE "$1" "$WORK/now.png" null: 2>&1
}

quit_game() {
    xdotool keydown q
    wait_for_exit "$GAME_PID" 60 || fail "$1 did not end after Q in the menu"
    xdotool keyup q
    [ "$EXIT_STATUS" = 0 ] || fail "$1: exit status $EXIT_STATUS: $(cat "$WORK/$1.err")"
}

# The native menu: the title screen before it moves, the menu stands still.
start_game native "$NATIVE" --window --skip-intro --data "$DATA"
import -window "$WINDOW" "$WORK/native.png"
for _ in $(seq 60); do
    sleep 0.5
    [ "$(differing_from "$WORK/native.png")" = 0 ] && break
    cp "$WORK/now.png" "$WORK/native.png"
done
mean=$(convert "$WORK/native.png" -colorspace gray -format '%[fx:mean]' info:)
awk -v m="$mean" 'BEGIN { exit !(m > 0.02) }' || fail "the native menu is black"
quit_game native

# The Windows game's window comes to the very same pixels.
rm -rf "$WINEPREFIX/drive_c/users"/*/AppData/Roaming/volleen
cd "$FOLDER" || fail "no game folder"
start_game windows wine ./volleen.exe --window --skip-intro
for _ in $(seq 60); do
    differing=$(differing_from "$WORK/native.png")
    [ "$differing" = 0 ] && break
    sleep 0.5
done
if [ "$differing" != 0 ]; then
    cp "$WORK/native.png" /tmp/volleen-menu-native.png
    cp "$WORK/now.png" /tmp/volleen-menu-windows.png
    fail "the menus differ in $differing pixels (/tmp/volleen-menu-native.png, /tmp/volleen-menu-windows.png)"
fi

keys() { cat "$WINEPREFIX/drive_c/users"/*/AppData/Roaming/volleen/keys.dat 2>/dev/null | od -An -tx1; }
saved() {
    for _ in $(seq 50); do
        now=$(keys)
        [ -n "$now" ] && [ "$now" != "$1" ] && return 0
        sleep 0.1
    done
    return 1
}
press m
saved "" || fail "M did not save keys.dat into %APPDATA%\\volleen: $(cat "$WORK/windows.err")"
first=$(keys)
press m
saved "$first" || fail "the second M did not replace keys.dat: $(cat "$WORK/windows.err")"
complaint=$(grep "^volleen: .*cannot" "$WORK/windows.err") && fail "the game complained: $complaint"
quit_game windows
echo "windows smoke: the menu as the native one, keys.dat saved twice, Q exits 0"
