#!/bin/sh
# With no display to open, the game says why on one line and exits with 1.
#   no_display_test.sh VOLLEEN
set -u
GAME=$(realpath "$1")
WORK=$(mktemp -d /tmp/volleen-nodisplay.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 20 "$GAME" >"$WORK/out" 2>"$WORK/err"
status=$?
if [ "$status" != 1 ]; then
    echo "FAIL: exit status $status, expected 1" >&2
    exit 1
fi
lines=$(wc -l <"$WORK/err")
if [ "$lines" != 1 ] || [ -s "$WORK/out" ]; then
    echo "FAIL: expected one line on stderr and nothing on stdout; got:" >&2
    cat "$WORK/err" "$WORK/out" >&2
    exit 1
fi
echo "no-display test passed: $(cat "$WORK/err")"
