#!/bin/sh
# A whole game in the real window under a memory checker: the logos, the
# menu, a keyboard match with a serve, Escape, the menu again, Q through the
# credits. Our own code is held to no finding; what the system's libraries
# keep until exit (D-Bus, Mesa, Xlib and the like, reached through SDL) is
# suppressed by the files beside this script, which name none of ours.
#   checked_game_test.sh asan VOLLEEN DATA_DIR
#   checked_game_test.sh valgrind VOLLEEN DATA_DIR VALGRIND
set -u
TOOL=$1
GAME=$(realpath "$2")
DATA=$(realpath "$3")
VALGRIND=${4:-valgrind}
HERE=$(cd "$(dirname "$0")" && pwd)
# The picture's own size: no enlarging, which a checker makes slow.
XVFB_SCREEN=640x480x24
. "$HERE/xvfb_lib.sh"
start_xvfb

mkdir -p "$WORK/run"
cp "$DATA"/*.BMP "$DATA"/*.bmp "$DATA"/*.WAV "$WORK/run/"
cd "$WORK/run" || fail "no working folder"
# SDL's own renderer, which the game chooses here anyway (Xvfb draws OpenGL
# on the processor), and a plain X framebuffer under it: Mesa is then never
# loaded, so none of its allocations is left behind in a library unloaded at
# exit, where no suppression could name it.
export SDL_AUDIODRIVER=dummy SDL_RENDER_DRIVER=software SDL_FRAMEBUFFER_ACCELERATION=0
case "$TOOL" in
asan)
    ASAN_OPTIONS=detect_leaks=1:exitcode=23 \
        LSAN_OPTIONS=suppressions=$HERE/suppressions/lsan.supp:print_suppressions=0 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$GAME" >"$WORK/game.out" 2>"$WORK/game.err" &
    ;;
valgrind)
    "$VALGRIND" --error-exitcode=23 --leak-check=full --errors-for-leak-kinds=definite \
        --suppressions="$HERE/suppressions/valgrind.supp" --quiet \
        "$GAME" >"$WORK/game.out" 2>"$WORK/game.err" &
    ;;
*)
    fail "unknown tool $TOOL"
    ;;
esac
GAME_PID=$!
TEST_PIDS=$GAME_PID

# The music byte of keys.dat, once the file is there: M in the menu writes it,
# which tells that the menu is up, however slow the checker makes the game.
music_is() {
    for _ in $(seq 1200); do
        if [ -f keys.dat ] && [ "$(od -An -tu1 -j16 -N1 keys.dat | tr -d ' ')" = "$1" ]; then
            return 0
        fi
        kill -0 "$GAME_PID" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
finding() { fail "$1: $(cat "$WORK/game.err")"; }

# Keys held before the window has the focus are never seen as held.
for _ in $(seq 120); do
    WINDOW=$(wait_for_window) && break
    kill -0 "$GAME_PID" 2>/dev/null || finding "the game ended before its window opened"
done
[ -n "${WINDOW:-}" ] || finding "no window"
sleep 1
xdotool keydown m
music_is 0 || finding "the menu never came up"
xdotool keyup m
xdotool keydown 2
sleep 3
xdotool keyup 2
press space
sleep 2
xdotool keydown Escape
sleep 4
xdotool keyup Escape
xdotool keydown m
music_is 1 || finding "the menu did not come back after Escape"
xdotool keyup m
xdotool keydown q
wait_for_exit "$GAME_PID" 120 || finding "the game did not end after Q"
xdotool keyup q
[ "$EXIT_STATUS" = 0 ] || finding "exit status $EXIT_STATUS"
echo "checked game ($TOOL): clean"
