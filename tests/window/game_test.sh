#!/bin/sh
# The real game in a real window under a private Xvfb.
#   game_test.sh VOLLEEN DATA_DIR MODE
# MODE quit:  full screen; the first logo shows (drawn straight onto the
#             visible surface, no flip); Q in the main menu runs the credits
#             and the game exits with status 0.
# MODE close: a close request during the first logo's pause ends the game
#             (status 0) without waiting for the start-up to finish.
# MODE destroyed: the window destroyed by another program ends the game as
#             a close request does (status 0), with a word about a folder
#             where the icon should be.
# MODE term:  SIGTERM ends the game at once.
# MODE sound: the first logo's sound reaches the audio device (SDL's disk
#             driver, which writes what the device would play to a file).
# MODE options: --window --skip-intro --frame-stats --data DATA_DIR from an
#             empty folder: a window, not the full screen; Q in the menu ends
#             the game, which prints its frame statistics on the way out.
# MODE grab:  the pointer is free for another client in the menu, held by
#             the game in a match, free again once the game loses the focus,
#             held again with the focus back, and free in the menu after
#             Escape.
set -u
GAME=$(realpath "$1")
DATA=$(realpath -m "$2")
MODE=$3
. "$(dirname "$0")/xvfb_lib.sh"
start_xvfb

mkdir -p "$WORK/run"
[ "$MODE" != options ] && cp -r "$DATA/." "$WORK/run/"
if [ "$MODE" = destroyed ]; then rm -f "$WORK/run/volleen-icon.bmp" && mkdir "$WORK/run/volleen-icon.bmp"; fi
cd "$WORK/run" || fail "no working folder"
if [ "$MODE" = sound ]; then
    export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw"
fi
set --
[ "$MODE" = options ] && set -- --window --skip-intro --frame-stats --data "$DATA"
[ "$MODE" = grab ] && set -- --skip-intro
"$GAME" "$@" >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!
TEST_PIDS=$GAME_PID
WINDOW=$(wait_for_window) || fail "no window: $(cat "$WORK/game.err")"
if [ "$MODE" = options ]; then
    geometry=$(xdotool getwindowgeometry "$WINDOW")
    echo "$geometry" | grep -q "Geometry: 1280x960" || fail "not the windowed size: $geometry"
else
    check_full_screen "$WINDOW"
fi

case "$MODE" in
quit)
    sleep 2
    import -window root "$WORK/logo.png"
    mean=$(convert "$WORK/logo.png" -colorspace gray -format '%[fx:mean]' info:)
    awk -v m="$mean" 'BEGIN { exit !(m > 0.02) }' || fail "the logo screen stayed black ($mean)"
    # Held from now on: the logos do not read keys, the menu sees it at once.
    xdotool keydown q
    wait_for_exit "$GAME_PID" 60 || fail "the game did not end after Q in the menu"
    xdotool keyup q
    [ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS: $(cat "$WORK/game.err")"
    ;;
close)
    "$(dirname "$GAME")/volleen-send-close" "$WINDOW" || fail "could not send the close request"
    wait_for_exit "$GAME_PID" 5 || fail "the close request did not end the game in the logos"
    [ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS: $(cat "$WORK/game.err")"
    ;;
options)
    xdotool keydown q
    wait_for_exit "$GAME_PID" 60 || fail "the game did not end after Q in the menu"
    xdotool keyup q
    [ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS: $(cat "$WORK/game.err")"
    [ -z "$(ls -A)" ] || fail "files written in the working folder: $(ls -A)"
    grep -Eq "^volleen: [0-9]+ frames, period min [0-9.]+ / median [0-9.]+ / p99 [0-9.]+ / max [0-9.]+ ms, present median [0-9.]+ / p99 [0-9.]+ ms$" \
        "$WORK/game.out" || fail "no frame statistics: $(cat "$WORK/game.out")"
    ;;
destroyed)
    sleep 1
    "$(dirname "$GAME")/volleen-send-close" --destroy "$WINDOW" || fail "could not destroy the window"
    wait_for_exit "$GAME_PID" 5 || fail "the game went on without its window"
    [ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS: $(cat "$WORK/game.err")"
    grep -q "^volleen: cannot read volleen-icon.bmp: is a directory; the window has no icon$" \
        "$WORK/game.err" || fail "no word about the icon: $(cat "$WORK/game.err")"
    ;;
term)
    sleep 1
    kill -TERM "$GAME_PID"
    wait_for_exit "$GAME_PID" 5 || fail "SIGTERM did not end the game"
    [ "$EXIT_STATUS" = 143 ] || fail "after SIGTERM the exit status was $EXIT_STATUS"
    ;;
sound)
    sleep 3
    [ -s "$WORK/audio.raw" ] || fail "nothing reached the audio device: $(cat "$WORK/game.err")"
    # 8-bit unsigned output: silence is 128, the logo's sound is anything else.
    sounding=$(od -An -tu1 -v "$WORK/audio.raw" | tr -s ' ' '\n' | grep -cv '^\(128\|\)$')
    [ "$sounding" -gt 1000 ] || fail "the device played silence ($sounding samples not 128)"
    ;;
grab)
    PROBE="$(dirname "$GAME")/volleen-pointer-probe"
    # Waits up to 15 s for the probe to find the pointer grabbed or taken.
    expect_pointer() {
        for _ in $(seq 75); do
            [ "$("$PROBE" grab)" = "$1" ] && return 0
            sleep 0.2
        done
        return 1
    }
    # M acts only in the menu, where it writes keys.dat: the menu is up.
    for _ in $(seq 60); do
        [ -f keys.dat ] && break
        press m
        sleep 0.4
    done
    [ -f keys.dat ] || fail "the menu never came"
    expect_pointer grabbed || fail "the game holds the pointer in the menu"
    press 1
    expect_pointer taken || fail "the game did not take the pointer for the match"
    "$PROBE" focus >/dev/null || fail "could not move the focus"
    expect_pointer grabbed || fail "the game kept the pointer without the focus"
    xdotool windowfocus "$WINDOW"
    expect_pointer taken || fail "the game did not take the pointer back with the focus"
    press Escape
    expect_pointer grabbed || fail "the game holds the pointer in the menu after Escape"
    ;;
*)
    fail "unknown mode $MODE"
    ;;
esac
echo "game test ($MODE) passed"
