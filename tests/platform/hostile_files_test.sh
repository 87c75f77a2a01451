#!/bin/sh
# The runner among files that are not files: a game data folder with a pipe
# for keys.dat and a sound linked to /dev/zero, scripts that are a pipe, a
# folder or a device, outputs into a device, a pipe and a full disk. Each is
# one line and a status at once, never a hang, and nothing is replaced.
#   hostile_files_test.sh VOLLEEN_HEADLESS DATA
set -u
RUNNER=$(realpath "$1")
DATA=$(realpath "$2")
WORK=$(mktemp -d /tmp/volleen-hostile.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# run ARGS...: at most 10 s; status in STATUS, stderr in $WORK/err.
run() {
    timeout 10 "$RUNNER" "$@" >/dev/null 2>"$WORK/err"
    STATUS=$?
}

# expect STATUS LINE: the status, and stderr exactly that one line.
expect() {
    [ "$STATUS" = "$1" ] && [ "$(wc -l <"$WORK/err")" = 1 ] && [ "$(cat "$WORK/err")" = "$2" ] ||
        fail "expected status $1 and '$2', got status $STATUS and '$(cat "$WORK/err")'"
}

mkfifo pipe
mkdir folder

# Scripts: one line, status 2, within the timeout (a pipe used to hang, a
# folder ran as an empty script, /dev/zero ran out of memory).
run --script pipe
expect 2 "volleen-headless: cannot read the script pipe: is a pipe, not a file"
run --script folder
expect 2 "volleen-headless: cannot read the script folder: is a directory"
run --script /dev/zero
expect 2 "volleen-headless: cannot read the script /dev/zero: is a device, not a file"
printf '0 pad 0 plugged\n' >plugged.txt
run --script plugged.txt
head -n1 err | grep -q "expected added, removed, button or axis, got 'plugged'" ||
    fail "pad 0 plugged: $(cat "$WORK/err")"

# The game among hostile data: keys.dat a pipe, the music /dev/zero. It
# starts with its default keys and without the music, saying each once.
mkdir game
cp "$DATA"/*.BMP "$DATA"/*.bmp "$DATA"/*.WAV game/
mkfifo game/keys.dat
ln -sf /dev/zero game/MUSIC.WAV
(cd game && timeout 10 "$RUNNER" --until 3000 >/dev/null 2>"$WORK/err")
STATUS=$?
[ "$STATUS" = 3 ] || fail "hostile data: status $STATUS, $(cat "$WORK/err")"
grep -q "^volleen: cannot read keys.dat: is a pipe, not a file; using the default keys$" err ||
    fail "hostile data: keys.dat not said: $(cat "$WORK/err")"
grep -q "^volleen: sound MUSIC.WAV not loaded: is a device, not a file$" err || fail "hostile data: MUSIC.WAV not said: $(cat "$WORK/err")"

# Outputs go straight into a device or a pipe, which stay what they are.
# The device is made here (the superuser only), never the machine's own.
rm game/keys.dat game/MUSIC.WAV
cp "$DATA/MUSIC.WAV" game/
cd game || exit 1
mkfifo pipe
if mknod null c 1 3 2>/dev/null; then
    run --until 1000 --audio-out null --trace null
    [ "$STATUS" = 3 ] && [ -c null ] || fail "into a device: status $STATUS, $(cat "$WORK/err")"
fi
cat pipe >heard &
run --until 1000 --audio-out pipe
wait
[ -s "$WORK/err" ] && fail "into a pipe: $(cat "$WORK/err")"
[ "$STATUS" = 3 ] && [ -p pipe ] && [ "$(head -c 4 heard)" = RIFF ] ||
    fail "into a pipe: status $STATUS, $(head -c 4 heard), $(cat "$WORK/err")"

# A full disk is a failed run, said in one line, with --until or without.
if [ -w /dev/full ]; then
    run --trace /dev/full --until 2000
    expect 4 "volleen-headless: cannot write /dev/full: No space left on device"
    printf '100 close\n' >"$WORK/close.txt"
    run --trace /dev/full --script "$WORK/close.txt"
    expect 4 "volleen-headless: cannot write /dev/full: No space left on device"
    "$RUNNER" --help >/dev/full 2>"$WORK/err"
    STATUS=$?
    expect 4 "volleen-headless: cannot write the usage: No space left on device"
fi
echo "hostile files test passed"
