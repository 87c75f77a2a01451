"""Replays from the runner: a long random two-player match recorded and
played back frame for frame, and files that must be refused.

  replays.py --runner PATH --data DIR
"""

import argparse
import os
import random
import struct
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from headless_run import Failure, Runner, expect, expect_eq  # noqa: E402

LEFT1, RIGHT1, LEFT2, RIGHT2, SPACE, KEY_2, KEY_Q = 203, 205, 30, 32, 57, 3, 16
FRAMES_3_MIN = 3 * 60 * 1000 // 33
HEADER = 4 + 2  # magic, format


def random_match(seed, end_ms):
    """Both players lean on their keys at random, a key every second or two,
    about as often as people do, and serve when they can; the
    match is played to its end (someone wins), then Q leaves from the menu."""
    rng = random.Random(seed)
    lines = ["13000 key 3 down", "13100 key 3 up"]
    for key in (LEFT1, RIGHT1, LEFT2, RIGHT2):
        ms = 15000 + rng.randrange(500)
        while ms < end_ms:
            held = rng.randrange(150, 1200)
            lines += [f"{ms} key {key} down", f"{ms + held} key {key} up"]
            ms += held + rng.randrange(400, 2500)
    for ms in range(15000, end_ms, 2500):
        lines += [f"{ms} key {SPACE} down", f"{ms + 60} key {SPACE} up"]
    lines += [f"{end_ms + 10000} key {KEY_Q} down"]
    return "\n".join(lines)


def frame_lines(run):
    """Each frame's match variables, without its time and number."""
    return [{k: v for k, v in e.items() if k not in ("t", "n")} for e in run.frames()]


def varint(data, at):
    value, shift = 0, 0
    while True:
        byte = data[at]
        at += 1
        value |= (byte & 0x7F) << shift
        shift += 7
        if byte < 0x80:
            return value, at


def middle_key_run(data, at):
    """The offset of a one-byte input run, past the middle of a two-player
    replay, in which a paddle key (bits 0 to 3) is pressed or let go."""
    count, at = varint(data, at)
    for _ in range(count):
        _, at = varint(data, at)
    count, at = varint(data, at)
    at += 4 * count
    runs, at = varint(data, at)
    for index in range(runs):
        code, end = varint(data, at)
        if index > runs // 2 and end == at + 1 and (code & 7) < 4:
            return at
        at = end + (1 if code & 7 == 7 else 0)
    raise Failure("no run of a paddle key in the replay")


def replay(runner, folder, path, extra=()):
    command = runner.wrapper + [runner.runner, "--replay", path] + list(extra)
    done = subprocess.run(command, cwd=folder, capture_output=True, text=True, timeout=300)
    return done.returncode, done.stderr.strip().splitlines()


def check(runner):
    # A match long enough to have splits, points on both sides and a win.
    for seed in range(1, 40):
        played = runner.run(random_match(seed, 240000), extra=["--record", "match.replay"])
        frames = played.frames()
        won = any(max(f["Player1Score"], f["Player2Score"]) == 10 for f in frames)
        both = any(f["Player1Score"] > 0 for f in frames) and any(f["Player2Score"] > 0 for f in frames)
        split = any(f["BallsInPlay"] == 2 for f in frames)
        if won and both and split:
            break
    else:
        raise Failure("no seed gave a match with a split, points on both sides and a win")
    expect_eq(played.status, 0, f"the recorded run's status ({played.stderr})")
    recorded = played.file("match.replay")
    expect(recorded is not None, "no replay was written")

    # Played back, the frames are the recorded match's, one for one.
    path = os.path.join(played.folder, "match.replay")
    trace = os.path.join(played.folder, "replay.jsonl")
    status, err = replay(runner, played.folder, path, ["--trace", trace])
    expect_eq(status, 0, f"the replay's status ({err})")
    expect_eq(err, [], "what the replay said")
    with open(trace) as f:
        import json
        back = [{k: v for k, v in e.items() if k not in ("t", "n")}
                for e in map(json.loads, f) if e.get("ev") == "frame"]
    original = frame_lines(played)
    at = next((i for i in range(len(original)) if original[i:i + len(back)] == back), None)
    expect(at is not None and len(back) > 1000,
           f"the replay's {len(back)} frames are not a run of the match's {len(original)}")

    # A few hundred bytes a minute: at most 2 KB for three minutes of play
    # as busy as this one (the fixed part, the header, counted once).
    fixed = HEADER + 1 + recorded[HEADER] + 3 + 4 + 100
    frames = struct.unpack_from("<I", recorded, fixed - 100 - 4)[0]
    three_minutes = fixed + (len(recorded) - fixed) * FRAMES_3_MIN / frames
    expect(three_minutes <= 2048, f"{len(recorded)} bytes for {frames} frames: "
           f"{three_minutes:.0f} for three minutes")
    print(f"replay: {frames} frames ({frames * 33 / 1000:.0f} s) in {len(recorded)} bytes, "
          f"{three_minutes:.0f} bytes for three minutes")

    # Files that are not this match's, or not replays, are refused in one line.
    def variant(name, data):
        target = os.path.join(played.folder, name)
        with open(target, "wb") as f:
            f.write(data)
        return replay(runner, played.folder, target)

    # A key of the middle of the match read as the other key of that player.
    changed = bytearray(recorded)
    changed[middle_key_run(recorded, fixed)] ^= 0x01
    status, err = variant("changed.replay", bytes(changed))
    expect_eq(status, 4, f"a changed input's status ({err})")
    expect(len(err) == 1 and "from frame" in err[0], f"a changed input said {err}")
    newer = bytearray(recorded)
    newer[4:6] = struct.pack("<H", 99)
    for name, data, words in (("cut.replay", recorded[:len(recorded) // 2], "cut short"),
                              ("magic.replay", b"XXXX" + recorded[4:], "wrong magic"),
                              ("newer.replay", bytes(newer), "newer"),
                              ("large.replay", recorded + bytes(1 << 20), "too large")):
        status, err = variant(name, data)
        expect_eq(status, 2, f"{name}'s status ({err})")
        expect(len(err) == 1 and words in err[0], f"{name} said {err}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runner", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--wrapper", default="", help="a command to start the runner through")
    args = parser.parse_args()
    runner = Runner(os.path.abspath(args.runner), os.path.abspath(args.data),
                    wrapper=args.wrapper.split())
    try:
        check(runner)
    except Failure as failure:
        print(f"FAIL: {failure}")
        return 1
    finally:
        runner.cleanup()
    print("replays passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
