#!/bin/sh
# With no display to open, the game says why on one line and exits with 1;
# a display that is named but cannot be reached is named in that line.
#   no_display_test.sh VOLLEEN DATA_DIR
set -u
GAME=$(realpath "$1")
DATA=$(realpath "$2")
WORK=$(mktemp -d /tmp/volleen-nodisplay.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 20 "$GAME" --data "$DATA" >"$WORK/out" 2>"$WORK/err"
status=$?
if [ "$status" != 1 ]; then
    echo "FAIL: exit status $status, expected 1" >&2
    exit 1
fi
lines=$(wc -l <"$WORK/err")
if [ "$lines" != 1 ] || [ -s "$WORK/out" ] || ! grep -q "window" "$WORK/err"; then
    echo "FAIL: expected one line on stderr and nothing on stdout; got:" >&2
    cat "$WORK/err" "$WORK/out" >&2
    exit 1
fi
echo "no-display test passed: $(cat "$WORK/err")"

# A display that is named but not there: the line names it.
env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=:999 timeout 20 "$GAME" --data "$DATA" >"$WORK/out" 2>"$WORK/err"
status=$?
if [ "$status" != 1 ] || ! grep -q "DISPLAY=:999" "$WORK/err"; then
    echo "FAIL: with DISPLAY=:999, exit status $status and:" >&2
    cat "$WORK/err" >&2
    exit 1
fi
echo "named display: $(cat "$WORK/err")"
