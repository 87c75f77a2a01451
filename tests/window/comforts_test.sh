#!/bin/sh
# The real game under a private Xvfb: what the player's desktop changes.
#   comforts_test.sh VOLLEEN DATA_DIR MODE
# MODE pause: focus taken by another window mid-rally freezes the match,
#             "Paused" over the court, for 5 s; focus back, the rally goes on.
# MODE pointer: in a one-player match, absolute pointer motion alone (as a
#             tablet or a remote desktop gives) moves the paddle.
# MODE remember: a window made 800 x 600 opens so at the next start, from
#             window.cfg beside keys.dat; --fullscreen still wins.
# MODE shot: F12 saves the screen as a 640 x 480 PNG in
#             $XDG_PICTURES_DIR/volleen/ and says where.
# MODE idle: the menu's main thread wakes for the player or about once a
#             frame, not every millisecond (counted by its context switches).
# MODE nodata: started where there is no data, the game says so in a message
#             box (a screenshot of it goes to $VOLLEEN_SHOTS when set) and,
#             once the player has read it, exits 1.
set -u
GAME=$(realpath "$1")
DATA=$(realpath -m "$2")
MODE=$3
. "$(dirname "$0")/xvfb_lib.sh"
start_xvfb

mkdir -p "$WORK/run"
export XDG_PICTURES_DIR="$WORK/pictures"
if [ "$MODE" = nodata ]; then
    cd "$WORK/run" || fail "no working folder"
    VOLLEEN_DATA_DIR="$WORK/nowhere" "$GAME" >"$WORK/game.out" 2>"$WORK/game.err" &
    GAME_PID=$!
    TEST_PIDS=$GAME_PID
    # The box's title is a UTF-8 name only, which xdotool does not search.
    BOX=""
    for _ in $(seq 100); do
        BOX=$(xwininfo -root -tree | awk '/"Volleen"/ { print $1; exit }')
        [ -n "$BOX" ] && break
        sleep 0.1
    done
    [ -n "$BOX" ] || fail "no message box: $(cat "$WORK/game.err")"
    sleep 1
    import -window "$BOX" "$WORK/box.png"
    [ -n "${VOLLEEN_SHOTS:-}" ] && cp "$WORK/box.png" "$VOLLEEN_SHOTS"
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game did not wait for the player to read the box"
    grep -q "^volleen: no game data found" "$WORK/game.err" || fail "no line on stderr: $(cat "$WORK/game.err")"
    xdotool windowfocus "$BOX" key Return
    wait_for_exit "$GAME_PID" 10 || fail "the game did not end when the box was closed"
    [ "$EXIT_STATUS" = 1 ] || fail "exit status $EXIT_STATUS"
    echo "comforts test ($MODE) passed"
    exit 0
fi
cp -r "$DATA/." "$WORK/run/"
rm -f "$WORK/run/keys.dat" "$WORK/run/window.cfg"
cd "$WORK/run" || fail "no working folder"
if [ "$MODE" = remember ]; then
    # Starts the game with "$@", runs $CHECK on its window, quits with Q.
    run_and_quit() {
        "$GAME" --skip-intro "$@" >"$WORK/game.out" 2>"$WORK/game.err" &
        GAME_PID=$!
        TEST_PIDS=$GAME_PID
        WINDOW=$(wait_for_window) || fail "no window: $(cat "$WORK/game.err")"
        sleep 1
        $CHECK
        xdotool keydown q
        wait_for_exit "$GAME_PID" 30 || fail "the game did not end after Q"
        xdotool keyup q
        [ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS: $(cat "$WORK/game.err")"
    }
    resize() { xdotool windowsize "$WINDOW" 800 600 && sleep 1; }
    size_is_800() {
        geometry=$(xdotool getwindowgeometry "$WINDOW")
        echo "$geometry" | grep -q "Geometry: 800x600" || fail "not the remembered size: $geometry"
    }
    full_screen() { check_full_screen "$WINDOW"; }
    CHECK=resize run_and_quit --window
    [ "$(cat window.cfg)" = "window 800 600" ] || fail "window.cfg: $(cat window.cfg 2>&1)"
    CHECK=size_is_800 run_and_quit
    CHECK=full_screen run_and_quit --fullscreen
    [ "$(cat window.cfg)" = "window 800 600" ] || fail "window.cfg after --fullscreen: $(cat window.cfg)"
    [ ! -e keys.dat ] || fail "keys.dat written"
    echo "comforts test ($MODE) passed"
    exit 0
fi
"$GAME" --skip-intro >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!
TEST_PIDS=$GAME_PID
WINDOW=$(wait_for_window) || fail "no window: $(cat "$WORK/game.err")"

# The screen's pixels, as one checksum (or of the crop $1 when given).
screen_sum() {
    import -window root "$WORK/sum.png" &&
        convert "$WORK/sum.png" ${1:+-crop "$1"} rgb:- | md5sum | cut -d' ' -f1
}

# M acts only in the menu, where it writes keys.dat: the menu is up.
for _ in $(seq 60); do
    [ -f keys.dat ] && break
    press m
    sleep 0.4
done
[ -f keys.dat ] || fail "the menu never came"

case "$MODE" in
pause)
    press 2
    sleep 2
    press space
    sleep 0.5
    a=$(screen_sum)
    sleep 0.3
    [ "$(screen_sum)" != "$a" ] || fail "the ball was not moving before the pause"
    "$(dirname "$GAME")/volleen-pointer-probe" focus >/dev/null || fail "could not move the focus"
    sleep 0.5
    # The picture is 1280 x 960 at (0, 32): "Paused" is at (296, 230) in it.
    paused=$(screen_sum 120x40+588+488)
    frozen=$(screen_sum)
    import -window root "$WORK/paused.png"
    [ -n "${VOLLEEN_SHOTS:-}" ] && cp "$WORK/paused.png" "$VOLLEEN_SHOTS"
    sleep 5
    [ "$(screen_sum)" = "$frozen" ] || fail "the match went on without the focus"
    xdotool windowfocus "$WINDOW"
    sleep 0.5
    b=$(screen_sum)
    sleep 0.3
    [ "$(screen_sum)" != "$b" ] || fail "the rally did not go on with the focus back"
    [ "$(screen_sum 120x40+588+488)" != "$paused" ] || fail "no \"Paused\" over the court"
    kill -TERM "$GAME_PID"
    ;;
idle)
    switches() { awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$GAME_PID/task/$GAME_PID/status"; }
    sleep 1
    before=$(switches)
    sleep 3
    woke=$(( $(switches) - before ))
    echo "the menu's thread woke $woke times in 3 s"
    [ "$woke" -lt 300 ] || fail "the menu woke $woke times in 3 s"
    kill -TERM "$GAME_PID"
    ;;
shot)
    press F12
    sleep 1
    saved=$(ls "$XDG_PICTURES_DIR"/volleen/volleen_*.png 2>/dev/null | head -n1)
    [ -n "$saved" ] || fail "no screenshot: $(cat "$WORK/game.out" "$WORK/game.err")"
    grep -q "^volleen: screenshot saved to $saved$" "$WORK/game.out" || fail "no line saying where"
    [ "$(identify -format '%m %wx%h' "$saved")" = "PNG 640x480" ] || fail "not a 640 x 480 PNG"
    # The menu as shown: the window's picture is the shot, twice as large.
    import -window root -crop 1280x960+0+32 "$WORK/window.png"
    convert "$WORK/window.png" -sample 640x480 "$WORK/halved.png"
    [ "$(compare -metric AE "$saved" "$WORK/halved.png" null: 2>&1)" = 0 ] ||
        fail "the screenshot is not the picture on the screen"
    kill -TERM "$GAME_PID"
    ;;
pointer)
    press 1
    sleep 2
    # The bottom paddle and the ball resting on it, 2 x 2 pixels each.
    before=$(screen_sum 1280x64+0+900)
    xdotool mousemove 300 500
    sleep 0.3
    xdotool mousemove 1000 500
    sleep 0.5
    [ "$(screen_sum 1280x64+0+900)" != "$before" ] || fail "absolute motion did not move the paddle"
    kill -TERM "$GAME_PID"
    ;;
*)
    fail "unknown mode $MODE"
    ;;
esac
echo "comforts test ($MODE) passed"
