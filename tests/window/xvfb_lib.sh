# Shared by the real-window tests: a private X server and small helpers.
# Each test gets its own Xvfb on a free display number (-displayfd picks it
# without the races of guessing), stopped when the script ends.

WORK=$(mktemp -d /tmp/volleen-window.XXXXXX)
# The games' replays stay with the test, not in the home folder.
XDG_DATA_HOME="$WORK/data-home"
export XDG_DATA_HOME
XVFB_PID=""
TEST_PIDS=""

cleanup() {
    for pid in $TEST_PIDS; do kill -TERM "$pid" 2>/dev/null; done
    [ -n "$XVFB_PID" ] && kill -TERM "$XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ]; then
        import -window root "$WORK/failure.png" 2>/dev/null &&
            cp "$WORK/failure.png" "/tmp/volleen-window-failure-$$.png" &&
            echo "screen saved to /tmp/volleen-window-failure-$$.png" >&2
    fi
    exit 1
}

start_xvfb() {
    # One server starts at a time: two X servers choosing a display at the
    # same moment can each take the other's half-written lock for a stale
    # one and end up on the same number.
    exec 4>"${TMPDIR:-/tmp}/volleen-xvfb-start.lock"
    flock -w 30 4
    Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$WORK/display" \
        >"$WORK/xvfb.log" 2>&1 4>&- &
    XVFB_PID=$!
    for _ in $(seq 100); do
        [ -s "$WORK/display" ] && break
        sleep 0.1
    done
    flock -u 4
    exec 4>&-
    [ -s "$WORK/display" ] || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    DISPLAY=":$(head -n1 "$WORK/display")"
    export DISPLAY
    unset WAYLAND_DISPLAY SDL_VIDEODRIVER
}

# Prints the id of the window titled Volleen once it is mapped.
wait_for_window() {
    for _ in $(seq 200); do
        id=$(xdotool search --onlyvisible --name '^Volleen$' 2>/dev/null | head -n1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Checks the window covers the whole screen.
check_full_screen() {
    geometry=$(xdotool getwindowgeometry "$1")
    echo "$geometry" | grep -q "Position: 0,0" || fail "window not at the origin: $geometry"
    echo "$geometry" | grep -q "Geometry: 1280x1024" || fail "window not full screen: $geometry"
}

# Waits up to $2 seconds for process $1 to end; its exit status goes in EXIT_STATUS.
wait_for_exit() {
    for _ in $(seq $(($2 * 10))); do
        if ! kill -0 "$1" 2>/dev/null; then
            wait "$1"
            EXIT_STATUS=$?
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Holds a key long enough for a polling reader to see it held.
press() {
    xdotool keydown "$1"
    sleep 0.25
    xdotool keyup "$1"
    sleep 0.1
}

# The colour of one screen pixel as srgb(r,g,b).
pixel_at() {
    import -window root "$WORK/shot.png" &&
        convert "$WORK/shot.png" -format "%[pixel:p{$1,$2}]" info:
}

# How many screen pixels have exactly the colour $1 (as "rgb(r,g,b)").
count_colour() {
    import -window root "$WORK/count.png" &&
        convert "$WORK/count.png" -fill black +opaque "$1" -fill white -opaque "$1" \
            -format '%[fx:round(mean*w*h)]' info:
}

# Waits up to $2 seconds until at least $3 pixels show colour $1.
wait_for_colour() {
    for _ in $(seq "$2"); do
        [ "$(count_colour "$1")" -ge "$3" ] 2>/dev/null && return 0
        sleep 1
    done
    return 1
}
