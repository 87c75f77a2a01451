"""What makes the game kinder to play without changing a match played with
held keys: taps shorter than a frame, Player 1's keys against the computer."""

from headless_run import expect, expect_eq
from scenarios import KEY_1, KEY_2, LEFT, MENU_READY, SPACE, match_frames, press

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


def one_player_keys(r, data):
    """Against the computer Player 1's left key moves the paddle 12 pixels a
    frame, the resting ball with it, and Space serves."""
    start = first_frame_time(r, KEY_1) + 5 * FRAME
    script = (press(MENU_READY, KEY_1) + press(start, LEFT, hold=5 * FRAME)
              + press(start + 1000, SPACE) + f"{start + 3000} close\n")
    run = r.run(script, until=start + 5000)
    frames = match_frames(run)
    waiting = [f for f in frames if f["MatchState"] == 2 and f["ServingSide"] == 1]
    xs = [f["Paddle1"]["x"] for f in waiting]
    steps = [b - a for a, b in zip(xs, xs[1:]) if b != a]
    expect(steps and all(step == -12 for step in steps), f"paddle steps under the left key: {steps}")
    expect(len(steps) >= 4, f"the held key moved the paddle in {len(steps)} frames")
    expect(all(f["Ball1"]["x"] == f["Paddle1"]["x"] + 30 for f in waiting), "the ball rides the paddle")
    served = [f for f in frames if f["MatchState"] == 1]
    expect(served and served[0]["t"] >= start + 1000, "Space served")


SCENARIOS = {
    "taps": taps,
    "one_player_keys": one_player_keys,
}
