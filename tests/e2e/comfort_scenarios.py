"""What makes the game kinder to play without changing a match played with
held keys: taps shorter than a frame, Player 1's keys against the computer,
the pause when the player looks away, and keys.dat values that name no key."""

from headless_run import expect, expect_eq
from pad_scenarios import A_KEY, D_KEY, pad_press
from scenarios import ESCAPE, KEY_1, KEY_2, LEFT, MENU_READY, SPACE, keys_file, match_frames, menu_words, press

PAUSE = 197
FRAME = 33
PADS = "0 pad 0 added\n0 pad 1 added\n"


def first_frame_time(r, key):
    run = r.run(press(MENU_READY, key) + "16000 close\n", until=30000)
    frames = match_frames(run)
    expect(frames, "no match frames")
    return frames[0]["t"]


def missed_taps(r, key, tap, plugged=""):
    """The offsets within a frame at which `tap(ms)`, ten frames into the
    match `key` chose, did not serve."""
    start = first_frame_time(r, key) + 10 * FRAME
    missed = []
    for offset in range(FRAME):
        at = start + offset
        run = r.run(plugged + press(MENU_READY, key) + tap(at) + f"{at + 500} close\n", until=at + 2000)
        if not any(f["MatchState"] == 1 for f in match_frames(run)):
            missed.append(offset)
    return missed


def taps(r, data):
    """A 10 ms Space tap serves wherever in a frame it falls: all 33 offsets."""
    missed = missed_taps(r, KEY_2, lambda at: press(at, SPACE, hold=10))
    expect_eq(missed, [], "offsets in the frame at which a 10 ms Space tap did not serve")


def pad_taps(r, data):
    """A 10 ms tap of a pad's south button serves at all 33 offsets, for
    either pad in a two-player match and for the first against the computer.
    On the menu a tap within one millisecond is taken once: Y switches the
    music once, and A chooses the one-player match without serving it."""
    for key, pad in ((KEY_2, 0), (KEY_2, 1), (KEY_1, 0)):
        missed = missed_taps(r, key, lambda at: pad_press(at, pad, "a", hold=10), PADS)
        expect_eq(missed, [], f"offsets at which pad {pad}'s 10 ms A tap did not serve (key {key})")
    chosen = MENU_READY + 1000
    script = (PADS + pad_press(MENU_READY, 0, "y", hold=0) + pad_press(chosen, 0, "a", hold=0)
              + pad_press(chosen + 2000, 0, "a", hold=10) + f"{chosen + 3000} close\n")
    run = r.run(script, until=chosen + 5000)
    expect_eq([w["text"] for w in run.texts(313, 428)], ["On", "On", "Off"], "the music word")
    expect_eq(run.file("keys.dat"), keys_file(LEFT, 205, A_KEY, D_KEY, 0), "Y switched the music off")
    frames = match_frames(run)
    expect(frames and all(f["GameMode"] == 1 for f in frames), "A chose a one-player match")
    served = [f["t"] for f in frames if f["MatchState"] == 1]
    expect(served and served[0] >= chosen + 2000, f"only the later A serves: {served[:1]}")


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


def focus_pause(r, data):
    """Focus taken away mid-rally freezes the match for 5 s with "Paused"
    over the court; back, it goes on frame by frame. Pause does the same."""
    start = first_frame_time(r, KEY_2)
    serve = start + 10 * FRAME
    away, back = serve + 400, serve + 5400
    pause_on, pause_off = back + 300, back + 2300
    script = (press(MENU_READY, KEY_2) + press(serve, SPACE)
              + f"{away} focus out\n{back} focus in\n"
              + press(pause_on, PAUSE) + press(pause_off, PAUSE) + f"{pause_off + 600} close\n")
    run = r.run(script, until=pause_off + 3000)
    frames = match_frames(run)
    for still_from, still_to in ((away, back), (pause_on, pause_off)):
        before = [f for f in frames if f["t"] < still_to]
        during = [f for f in frames if still_from + FRAME < f["t"] < still_to]
        after = [f for f in frames if f["t"] >= still_to]
        expect_eq(during, [], f"frames played while paused from {still_from} to {still_to}")
        expect(len(after) >= 3, "the match goes on after the pause")
        last, first = before[-1], after[0]
        expect_eq(first["MatchState"], 1, "the rally goes on")
        for score in ("Player1Score", "Player2Score"):
            expect_eq(first[score], last[score], f"{score} across the pause")
        for axis, speed in (("x", "xVelocity"), ("y", "yVelocity")):
            moved = abs(first["Ball1"][axis] - last["Ball1"][axis])
            expect(moved <= abs(last["Ball1"][speed]), f"ball {axis} moved {moved} across the pause")
        expect(first["t"] - still_to <= 2 * FRAME, f"first frame {first['t'] - still_to} ms after the pause")
        expect_eq(after[1]["t"] - after[0]["t"], FRAME, "frame after the pause is not rushed")
        paused = [t for t in run.texts(text="Paused", surface="primary") if still_from <= t["t"] <= still_to]
        expect(paused, f"\"Paused\" shown from {still_from}")


def odd_key_values(r, data):
    """keys.dat naming no key or Escape: the default with one line each; music
    7 counts as on; nothing is rewritten."""
    folder = r.fresh_folder()
    odd = keys_file(0, ESCAPE, 99, 16, 7)
    with open(f"{folder}/keys.dat", "wb") as f:
        f.write(odd)
    run = r.run(f"{MENU_READY + 1000} close\n", until=30000, folder=folder)
    expect_eq(menu_words(run), {(230, 287): "Left Arrow", (230, 307): "Right Arrow",
                                (420, 287): "A", (420, 307): "Q", (313, 428): "On"},
              "key names and music word")
    lines = run.stderr.strip().splitlines()
    expect_eq(len(lines), 4, f"one line for each odd value: {run.stderr}")
    expect_eq(run.file("keys.dat"), odd, "keys.dat untouched")


SCENARIOS = {
    "taps": taps,
    "pad_taps": pad_taps,
    "one_player_keys": one_player_keys,
    "focus_pause": focus_pause,
    "odd_key_values": odd_key_values,
}
