#!/bin/sh
# Builds volleen-headless and volleen with AddressSanitizer and UBSan in a
# build folder of its own, runs the same whole game as the memcheck test in
# the runner, then a whole game in the real window (where Xvfb and xdotool
# are there to drive it).
# usage: sanitize.sh SOURCE_DIR BUILD_DIR DATA_DIR
set -eu
source=$1 build=$2 data=$3
here=$(cd "$(dirname "$0")" && pwd)
jobs=${VOLLEEN_SANITIZE_JOBS:-2}
cmake -S "$source" -B "$build" -DVOLLEEN_SANITIZE=ON -DVOLLEEN_TESTS=OFF >/dev/null
cmake --build "$build" --target volleen-headless volleen -j "$jobs" >/dev/null
folder=$(mktemp -d /tmp/volleen-sanitize-XXXXXX)
trap 'rm -rf "$folder"' EXIT
cp "$data"/*.BMP "$data"/*.bmp "$data"/*.WAV "$folder"/
cd "$folder"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/volleen-headless" --script "$here/quit_script.txt" --until 120000
echo "sanitize: the runner is clean"
if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
    sh "$here/../window/checked_game_test.sh" asan "$build/volleen" "$data"
fi
echo "sanitize: clean"
