#!/bin/sh
# The layer check on a copy of the tree: clean it passes; an include planted
# up a layer (or across to a sibling) in any layer, or a screen change in the
# rules, makes it fail.
#   check_layers_test.sh SOURCE_DIR
set -u
SOURCE=$(realpath "$1")
WORK=$(mktemp -d /tmp/volleen-layers.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/scripts"
cp "$SOURCE/scripts/check-layers" "$WORK/scripts/"
# The game's tree is what the planted faults go into; the other folders the
# check reads may stay empty here.
cp -r "$SOURCE/src" "$WORK/"
mkdir -p "$WORK/tools" "$WORK/bench" "$WORK/tests" "$WORK/fuzz"

"$WORK/scripts/check-layers" || { echo "FAIL: the clean tree does not pass" >&2; exit 1; }

failures=0
# plant FILE LINE: the check must fail with LINE appended to FILE.
plant() {
    cp "$WORK/$1" "$WORK/saved"
    echo "$2" >>"$WORK/$1"
    if "$WORK/scripts/check-layers" >/dev/null 2>&1; then
        echo "FAIL: not caught: $2 in $1" >&2
        failures=$((failures + 1))
    fi
    cp "$WORK/saved" "$WORK/$1"
}
plant src/graphics/transitions.cpp '#include "shell/shell.h"'
plant src/graphics/text.cpp '#include "input/input.h"'
plant src/input/pads.cpp '#include "match/match.h"'
plant src/input/pads.cpp '#include "frontend/key_bindings.h"'
plant src/sound/sound.cpp '#include "match/match.h"'
plant src/clock/random.cpp '#include "graphics/display.h"'
plant src/match/match.cpp '#include "shell/shell.h"'
plant src/match/match_frame.cpp '#include "frontend/main_menu.h"'
plant src/match/match_balls.cpp 'void Over() { FadeOutAndClear(); }'
plant src/frontend/assets.cpp '#include "shell/startup.h"'
plant src/common/folders.cpp '#include "platform/platform.h"'
plant src/platform/common/mixer.cpp '#include "match/match.h"'
plant src/platform/sdl/audio.cpp '#include "platform/headless/headless.h"'
plant src/shell/main.cpp '#include "platform/sdl/state.h"'
plant src/match/match.cpp '#include <SDL2/SDL.h>'
plant src/shell/main.cpp '#ifdef __EMSCRIPTEN__'
[ "$failures" -eq 0 ] || exit 1
echo "check-layers: 16 planted faults caught"
