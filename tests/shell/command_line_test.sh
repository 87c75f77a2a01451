#!/bin/sh
# The game's command line and its search for data, from outside: what it
# prints and how it exits, all before any window is made (no display needed).
#   command_line_test.sh VOLLEEN VERSION
set -u
GAME=$(realpath "$1")
VERSION=$2
WORK=$(mktemp -d /tmp/volleen-cli.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# run ARGS...: status in STATUS, output in $WORK/out and $WORK/err.
run() {
    env -u DISPLAY -u WAYLAND_DISPLAY "$GAME" "$@" >"$WORK/out" 2>"$WORK/err"
    STATUS=$?
}

run --version
[ "$STATUS" = 0 ] || fail "--version: status $STATUS"
[ "$(cat "$WORK/out")" = "volleen $VERSION" ] || fail "--version printed '$(cat "$WORK/out")'"

run --help
[ "$STATUS" = 0 ] && [ ! -s "$WORK/err" ] || fail "--help: status $STATUS, $(cat "$WORK/err")"
head -n1 "$WORK/out" | grep -q '^usage: volleen' || fail "--help: no usage line"
for option in --help --version --window --fullscreen '--data DIR' --skip-intro; do
    grep -q "^  $option " "$WORK/out" || fail "--help does not list $option"
done
cp "$WORK/out" "$WORK/usage"

run --window --frobnicate
[ "$STATUS" = 2 ] || fail "unknown option: status $STATUS"
[ "$(head -n1 "$WORK/err")" = "volleen: unknown option '--frobnicate'" ] ||
    fail "unknown option: first line '$(head -n1 "$WORK/err")'"
tail -n +2 "$WORK/err" | cmp -s - "$WORK/usage" || fail "unknown option: the usage does not follow"
[ -s "$WORK/out" ] && fail "unknown option: something on stdout"

# No data here, none named, none installed beside the build's program: one
# line naming the places, status 1, and no attempt at a window (without a
# display that would have been the complaint instead).
VOLLEEN_DATA_DIR="$WORK/nowhere" run
[ "$STATUS" = 1 ] || fail "no data: status $STATUS"
[ "$(wc -l <"$WORK/err")" = 1 ] && grep -q "^volleen: no game data found; looked in the working folder $WORK, $WORK/nowhere" "$WORK/err" ||
    fail "no data: stderr was '$(cat "$WORK/err")'"

# A name typed with a newline is shown on one line.
run --data "$(printf 'two\nlines')"
[ "$STATUS" = 1 ] && [ "$(cat "$WORK/err")" = "volleen: no game data in $WORK/two\\nlines (given with --data)" ] ||
    fail "newline in --data: status $STATUS, '$(cat "$WORK/err")'"

# A closed pipe is no death by SIGPIPE (status 141): a warning into it is
# nothing, the usage asked for and lost is a failure. The pipe's reader has
# ended before anything is written.
{
    sleep 0.3
    VOLLEEN_DATA_DIR="$WORK/nowhere" "$GAME" 2>&1
    echo $? >"$WORK/status"
} | :
[ "$(cat "$WORK/status")" = 1 ] || fail "warning into a closed pipe: status $(cat "$WORK/status")"
{
    sleep 0.3
    "$GAME" --help 2>"$WORK/err"
    echo $? >"$WORK/status"
} | :
[ "$(cat "$WORK/status")" = 1 ] && [ "$(cat "$WORK/err")" = "volleen: cannot write to the standard output: Broken pipe" ] ||
    fail "--help into a closed pipe: status $(cat "$WORK/status"), '$(cat "$WORK/err")'"
if [ -w /dev/full ]; then
    "$GAME" --version >/dev/full 2>"$WORK/err"
    STATUS=$?
    [ "$STATUS" = 1 ] && [ "$(cat "$WORK/err")" = "volleen: cannot write to the standard output: No space left on device" ] ||
        fail "--version into a full disk: status $STATUS, '$(cat "$WORK/err")'"
fi
rm -f "$WORK/status"

[ -z "$(ls -A "$WORK" | grep -v '^\(out\|err\|usage\)$')" ] || fail "files left in the folder"
echo "command line test passed"
