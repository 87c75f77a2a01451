#!/bin/sh
# A match played in the real window is kept as a replay, and the replay plays
# back to its end, every checksum agreeing, in the runner and in the window.
#   replay_test.sh VOLLEEN VOLLEEN_HEADLESS DATA_DIR
set -u
GAME=$(realpath "$1")
RUNNER=$(realpath "$2")
DATA=$(realpath -m "$3")
. "$(dirname "$0")/xvfb_lib.sh"
start_xvfb

mkdir -p "$WORK/run"
cp -r "$DATA/." "$WORK/run/"
rm -f "$WORK/run/keys.dat"
cd "$WORK/run" || exit 1
REPLAYS="$XDG_DATA_HOME/volleen/replays"

"$GAME" --window --skip-intro >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!
TEST_PIDS=$GAME_PID
wait_for_window >/dev/null || fail "no game window"
# Two players: the menu takes 2 once it is up (after the fades).
for _ in $(seq 40); do
    press 2
    [ -n "$(ls "$REPLAYS" 2>/dev/null)" ] && break
    sleep 0.5
    # A serve and a few moves by both players, then Escape leaves the match.
    press space
    xdotool keydown Left keydown a
    sleep 0.6
    xdotool keyup Left keyup a keydown Right
    sleep 0.4
    xdotool keyup Right
    press Escape
done
replay=$(ls "$REPLAYS"/*.replay 2>/dev/null | head -n1)
[ -n "$replay" ] || fail "no replay kept in $REPLAYS: $(cat "$WORK/game.err")"
mode=$(stat -c %a "$REPLAYS")
[ "$mode" = 700 ] || fail "the replays folder is $mode, not private"
xdotool keydown q
wait_for_exit "$GAME_PID" 60 || fail "the game did not end after Q"
xdotool keyup q
[ "$EXIT_STATUS" = 0 ] || fail "exit status $EXIT_STATUS: $(cat "$WORK/game.err")"

# The runner plays it to its end with every checksum agreeing.
"$RUNNER" --replay "$replay" --trace "$WORK/replay.jsonl" >"$WORK/runner.out" 2>&1 ||
    fail "the runner's replay ended with $?: $(cat "$WORK/runner.out")"
grep -q '"GameMode":2' "$WORK/replay.jsonl" || fail "the replay was not the two-player match"

# The window plays the newest one back and ends by itself.
"$GAME" --window --replay last >"$WORK/watch.out" 2>"$WORK/watch.err" &
WATCH_PID=$!
TEST_PIDS="$TEST_PIDS $WATCH_PID"
wait_for_exit "$WATCH_PID" 60 || fail "the window's replay did not end"
[ "$EXIT_STATUS" = 0 ] || fail "the window's replay ended with $EXIT_STATUS: $(cat "$WORK/watch.err")"
echo "replay test passed: $(stat -c %s "$replay") bytes"
