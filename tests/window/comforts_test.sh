#!/bin/sh
# The real game under a private Xvfb: what the player's desktop changes.
#   comforts_test.sh VOLLEEN DATA_DIR MODE
# MODE pause: focus taken by another window mid-rally freezes the match,
#             "Paused" over the court, for 5 s; focus back, the rally goes on.
set -u
GAME=$(realpath "$1")
DATA=$(realpath -m "$2")
MODE=$3
. "$(dirname "$0")/xvfb_lib.sh"
start_xvfb

mkdir -p "$WORK/run"
cp -r "$DATA/." "$WORK/run/"
rm -f "$WORK/run/keys.dat"
cd "$WORK/run" || fail "no working folder"
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
*)
    fail "unknown mode $MODE"
    ;;
esac
echo "comforts test ($MODE) passed"
