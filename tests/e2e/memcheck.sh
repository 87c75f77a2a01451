#!/bin/sh
# A whole game (start-up, a short two-player rally, Escape, key
# redefinition, the music switch, Q through the credits) under valgrind
# memcheck: no memory error and nothing definitely lost.
# usage: memcheck.sh VALGRIND RUNNER DATA_DIR
set -eu
valgrind=$1 runner=$2 data=$3
here=$(cd "$(dirname "$0")" && pwd)
folder=$(mktemp -d /tmp/volleen-memcheck-XXXXXX)
trap 'rm -rf "$folder"' EXIT
cp "$data"/*.BMP "$data"/*.bmp "$data"/*.WAV "$folder"/
cd "$folder"
"$valgrind" --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite \
    --quiet "$runner" --script "$here/quit_script.txt" --until 120000
test "$(od -An -tu1 keys.dat | tr -s ' \n' ' ')" = " 36 0 0 0 37 0 0 0 200 0 0 0 208 0 0 0 0 0 0 0 " \
    || { echo "memcheck: keys.dat is not what the scenario saved" >&2; exit 1; }
echo "memcheck: clean"
