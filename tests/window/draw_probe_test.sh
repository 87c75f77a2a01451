#!/bin/sh
# Still screens show at once: what is drawn straight onto the visible surface
# is on screen while the program goes on working without waiting (as while
# the game loads its pictures under "Loading..."), and a burst of drawing
# costs one present.
#   draw_probe_test.sh PROBE_PROGRAM
set -u
PROBE=$(realpath "$1")
. "$(dirname "$0")/xvfb_lib.sh"
start_xvfb

OUT="$WORK/probe.out"
"$PROBE" >"$OUT" 2>"$WORK/probe.err" &
TEST_PIDS=$!
for _ in $(seq 100); do grep -q busy "$OUT" && break; sleep 0.1; done
grep -q busy "$OUT" || fail "the probe did not start: $(cat "$WORK/probe.err")"
sleep 0.5
grep -q done "$OUT" && fail "too slow: the probe finished before the screen was looked at"
# Palette entry 100 is (100, 0, 155); the text runs down the left side.
centre=$(pixel_at 900 512)
[ "$centre" = "srgb(100,0,155)" ] || fail "while the probe worked the screen showed $centre"
grep -qx "burst 1" "$OUT" || fail "the burst of drawing cost '$(grep burst "$OUT")' presents, not 1"
echo "draw probe test passed"
