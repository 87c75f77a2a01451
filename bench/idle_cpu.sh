#!/bin/sh
# How much of one core the real game uses while it waits in the main menu and
# while a match runs, under Xvfb. Usage: bench/idle_cpu.sh [BUILD]
set -eu
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d)
trap 'kill "$game" 2>/dev/null; kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
cp "$build"/data/* "$work"/

Xvfb :97 -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
sleep 1
cd "$work"
DISPLAY=:97 "$build/volleen" 2>/dev/null &
game=$!

ticks() { awk '{print $14 + $15}' "/proc/$game/stat"; }
share() {  # percent of one core over $1 seconds
    hz=$(getconf CLK_TCK)
    a=$(ticks); sleep "$1"; b=$(ticks)
    echo "$(( (b - a) * 100 / (hz * $1) ))%"
}
press() { DISPLAY=:97 xdotool keydown "$1"; sleep 0.1; DISPLAY=:97 xdotool keyup "$1"; }

sleep 18   # logos and fades
echo "main menu: $(share 5) of one core"
press 2; sleep 3; press space
echo "match:     $(share 5) of one core"
