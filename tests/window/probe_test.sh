#!/bin/sh
# The SDL backend in a real window, through the key probe: the window covers
# the screen, the picture shows through the palette in a letterbox, real key
# presses come out as set-1 codes, mouse motion made while nobody reads
# arrives whole, buttons and a close request get through, Alt+Enter toggles.
#   probe_test.sh PROBE_PROGRAM
set -u
PROBE=$(realpath "$1")
. "$(dirname "$0")/xvfb_lib.sh"
start_xvfb

OUT="$WORK/probe.out"
"$PROBE" 30000 6000 >"$OUT" 2>"$WORK/probe.err" &
PROBE_PID=$!
TEST_PIDS=$PROBE_PID
for _ in $(seq 100); do grep -q ready "$OUT" && break; sleep 0.1; done
WINDOW=$(wait_for_window) || fail "no window: $(cat "$WORK/probe.err")"
check_full_screen "$WINDOW"

# Motion while the mouse is not read yet (the probe reads it after 6 s).
xdotool mousemove_relative -- 40 0
sleep 0.1
xdotool mousemove_relative -- 35 -7
grep -q reading-mouse "$OUT" && fail "too slow: the probe read the mouse before the motion was made"

# The probe paints the visible surface in palette entry 200 = (200, 0, 55)
# without a flip; a 4:3 picture on a 5:4 screen leaves black bars.
for _ in $(seq 50); do grep -q filled "$OUT" && break; sleep 0.1; done
sleep 0.3
centre=$(pixel_at 640 512)
[ "$centre" = "srgb(200,0,55)" ] || fail "centre pixel is $centre"
bar=$(pixel_at 640 10)
[ "$bar" = "srgb(0,0,0)" ] || fail "letterbox bar pixel is $bar"


for _ in $(seq 100); do grep -q reading-mouse "$OUT" && break; sleep 0.1; done
sleep 0.3
first=$(grep '^mouse' "$OUT" | head -n1)
[ "$first" = "mouse 75 -7" ] || fail "motion made before the first read came as '$first'"

press 1
press Left
press KP_Enter
press Control_R
press semicolon
press Insert
for code in 2 203 156 157 39 210; do
    grep -qx "down $code" "$OUT" || fail "set-1 code $code was not seen; saw: $(grep down "$OUT" | tr '\n' ' ')"
done
grep -qx "down 28" "$OUT" && fail "keypad Enter came out as the main Enter"
grep -qx "down 75" "$OUT" && fail "the Left arrow came out as keypad 4"

xdotool mousedown 1; sleep 0.25; xdotool mouseup 1
xdotool mousedown 3; sleep 0.25; xdotool mouseup 3
sleep 0.2
grep -qx "button 0" "$OUT" || fail "left button not seen as button 0"
grep -qx "button 1" "$OUT" || fail "right button not seen as button 1"

# Alt+Enter: a window of its own size, then full screen again.
xdotool keydown alt+Return; sleep 0.2; xdotool keyup alt+Return
sleep 0.5
geometry=$(xdotool getwindowgeometry "$WINDOW")
echo "$geometry" | grep -q "Geometry: 1280x1024" && fail "Alt+Enter left the window full screen"
xdotool keydown alt+Return; sleep 0.2; xdotool keyup alt+Return
sleep 0.5
check_full_screen "$WINDOW"

"$(dirname "$PROBE")/volleen-send-close" "$WINDOW" || fail "could not send the close request"
wait_for_exit "$PROBE_PID" 10 || fail "the probe did not end after the close request"
[ "$EXIT_STATUS" = 0 ] || fail "probe exit status $EXIT_STATUS"
grep -qx close "$OUT" || fail "the close request did not reach the message queue"
echo "probe test passed"
