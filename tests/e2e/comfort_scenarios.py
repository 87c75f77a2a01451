"""What makes the game kinder to play without changing a match played with
held keys: taps shorter than a frame."""

from headless_run import expect, expect_eq
from scenarios import KEY_2, MENU_READY, SPACE, match_frames, press

FRAME = 33


def first_frame_time(r, key):
    run = r.run(press(MENU_READY, key) + "16000 close\n", until=30000)
    frames = match_frames(run)
    expect(frames, "no match frames")
    return frames[0]["t"]


def taps(r, data):
    """A 10 ms Space tap serves wherever in a frame it falls: all 33 offsets."""
    start = first_frame_time(r, KEY_2) + 10 * FRAME
    missed = []
    for offset in range(FRAME):
        at = start + offset
        run = r.run(press(MENU_READY, KEY_2) + press(at, SPACE, hold=10) + f"{at + 500} close\n",
                    until=at + 2000)
        if not any(f["MatchState"] == 1 for f in match_frames(run)):
            missed.append(offset)
    expect_eq(missed, [], "offsets in the frame at which a 10 ms Space tap did not serve")


SCENARIOS = {
    "taps": taps,
}
