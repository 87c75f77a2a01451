"""What a player does, end to end, on volleen-headless: each scenario runs
the whole game from a script and checks its trace, its exit status and the
keys.dat it leaves."""

import os

from headless_run import Failure, crc_of, expect, expect_eq, palette_crc_of_bitmap

# Key codes (set-1 scan codes).
ESCAPE, KEY_1, KEY_2, Q, W, U, A, D = 1, 2, 3, 16, 17, 22, 30, 32
J, K, C, M, SPACE = 36, 37, 46, 50, 57
UP, LEFT, RIGHT, DOWN = 200, 203, 205, 208

# The menu is up after 10.4 s of logo pauses and two fades of 80 x 12 ms.
MENU_READY = 13000


def press(ms, code, hold=50):
    return f"{ms} key {code} down\n{ms + hold} key {code} up\n"


def menu_words(run, after=0):
    """The menu's key names and music word, the last drawn at each place
    after time `after`."""
    words = {}
    for place in [(230, 287), (230, 307), (420, 287), (420, 307), (313, 428)]:
        texts = [t for t in run.texts(*place) if t["t"] >= after and t["surface"] == "primary"]
        words[place] = texts[-1]["text"] if texts else None
    return words


def match_frames(run, after=0):
    return [f for f in run.frames() if f["t"] >= after and f["MatchState"] != 0]


def keys_file(p1l, p1r, p2l, p2r, music):
    out = bytearray()
    for v in (p1l, p1r, p2l, p2r, music):
        out += bytes([v, 0, 0, 0])
    return bytes(out)


def check_points_and_serves(run, frames):
    """Every point in `frames`: the scorer's score rises by one, a buzzer
    sounds, and while the serve is awaited the ball rests on the scorer's
    paddle. Returns the list of (scorer, frame) seen."""
    points = []
    buzzer_times = [e["t"] for e in run.sounds("play", "BUZZER.WAV")]
    for before, after in zip(frames, frames[1:]):
        if after["Player1Score"] == 0 and after["Player2Score"] == 0:
            continue  # a new match
        d1 = after["Player1Score"] - before["Player1Score"]
        d2 = after["Player2Score"] - before["Player2Score"]
        if d1 == 0 and d2 == 0:
            continue
        if before["Player1Score"] == 9 and after["Player1Score"] == 9:
            continue
        expect(d1 in (0, 1) and d2 in (0, 1), f"score jumped between frames {before['n']} and {after['n']}")
        expect(any(before["t"] <= t <= after["t"] for t in buzzer_times),
               f"no buzzer for the point at frame {after['n']}")
        if after["BallsInPlay"] == 1 and after["MatchState"] == 2:
            scorer = 1 if d1 else 2
            expect_eq(after["ServingSide"], scorer, f"serving side after the point at frame {after['n']}")
            ball, paddle = after["Ball1"], after["Paddle1" if scorer == 1 else "Paddle2"]
            expect_eq((ball["x"], ball["y"]), (paddle["x"] + 30, 440 if scorer == 1 else 29),
                      f"ball resting for the serve after the point at frame {after['n']}")
            expect_eq((ball["xVelocity"], ball["yVelocity"]), (0, 0), "resting ball's velocity")
            expect(not after["Ball2"]["visible"], "the second ball is hidden for a serve")
            points.append((scorer, after))
    return points


def check_serves(frames):
    """Every serve leaves the serving paddle at 5 pixels a frame each way."""
    served = 0
    for before, after in zip(frames, frames[1:]):
        if before["MatchState"] == 2 and after["MatchState"] == 1:
            v = (after["Ball1"]["xVelocity"], after["Ball1"]["yVelocity"])
            wanted_y = -5 if before["ServingSide"] == 1 else 5
            expect(v in ((5, wanted_y), (-5, wanted_y)),
                   f"serve from side {before['ServingSide']} at frame {after['n']} has velocity {v}")
            served += 1
    return served


# ---------------------------------------------------------------------------


def startup_and_quit(r, data):
    """From the loading screen through both logos to the menu, then Q
    through the credits to a clean exit."""
    run = r.run(press(MENU_READY, Q), until=60000)
    expect_eq(run.status, 0, f"exit status (stderr: {run.stderr.strip()})")
    expect_eq(run.events[-1], {**run.events[-1], "ev": "exit", "code": 0}, "last event")

    loading = run.texts(290, 240, "Loading...")
    expect_eq(len(loading), 1, "Loading... drawn once")
    expect_eq((loading[0]["surface"], loading[0]["index"]), ("primary", 144), "Loading... surface, colour")

    fires = run.sounds("play", "FIRE.WAV")
    expect_eq(len(fires), 2, "FIRE.WAV plays once per logo")
    expect(all(not f["loop"] for f in fires), "FIRE.WAV is not looped")
    expect_eq(run.sleeps()[:3], [5000, 400, 5000], "start-up pauses")

    # Each logo in its own file's colours; the menu in the ball picture's.
    logo1 = palette_crc_of_bitmap(os.path.join(data, "harbeklogo8.bmp"))
    logo2 = palette_crc_of_bitmap(os.path.join(data, "bremlogo8.bmp"))
    ball = palette_crc_of_bitmap(os.path.join(data, "BALL3D8BIG.BMP"))
    sleeps = run.of("sleep")

    def palette_in_force(t):
        last = None
        for e in run.of("palette"):
            if e["t"] <= t:
                last = crc_of(e)
        return last

    expect_eq(palette_in_force(sleeps[0]["t"]), logo1, "palette during the first logo")
    expect_eq(palette_in_force(sleeps[2]["t"]), logo2, "palette during the second logo")
    expect(fires[0]["t"] <= sleeps[0]["t"] < sleeps[1]["t"] <= fires[1]["t"] <= sleeps[2]["t"],
           "FIRE, 5000, fade, 400, FIRE, 5000 in that order")
    # The fades between: at least 80 steps of 12 ms each.
    expect(sleeps[1]["t"] - sleeps[0]["t"] >= 5000 + 960, "first fade after the 5000 ms pause")

    menu_on = run.texts(313, 428, "On")
    expect(menu_on, "the music word on the menu")
    menu_at = menu_on[0]["t"]
    expect(menu_at >= 10400 + 2 * 960, f"menu at {menu_at} ms, before the logos and fades could end")
    expect_eq(palette_in_force(menu_at), ball, "palette of the menu")
    expect_eq(menu_words(run), {(230, 287): "Left Arrow", (230, 307): "Right Arrow",
                                (420, 287): "A", (420, 307): "D", (313, 428): "On"},
              "first-run keys and music on the menu")
    for place in [(230, 287), (230, 307), (420, 287), (420, 307), (313, 428)]:
        expect_eq(run.texts(*place)[0]["index"], 138, f"menu colour at {place}")
    expect(any(s["loop"] for s in run.sounds("play", "MENU.WAV")), "the menu tune loops")

    # Q: the credits for 7000 ms between two fades, the menu tune still on,
    # then the release sequence stops every sound and the game exits 0.
    expect_eq(run.sleeps()[3:], [7000], "credits pause")
    credits = run.of("sleep")[3]["t"]
    stops_before = [s for s in run.sounds("stop", "MENU.WAV") if menu_at <= s["t"] < credits]
    expect_eq(stops_before, [], "menu tune stopped before the credits")
    expect(any(s["t"] >= credits + 7000 for s in run.sounds("stop", "MENU.WAV")),
           "the release sequence stops the menu tune")
    expect(run.file("keys.dat") is None, "keys.dat is not written when nothing changed")


def one_player_match(r, data):
    """Mouse against the computer: the paddle and the resting ball follow the
    mouse, the click serves, the computer follows at 7 pixels a frame."""
    script = (press(MENU_READY, KEY_1)
              + "14600 mouse 30 0\n"
              + "14800 mouse -1000 0\n"
              + "15000 mouse 100 0\n"
              + "15500 button 0 down\n15600 button 0 up\n"
              + "20000 close\n")
    run = r.run(script, until=60000)
    expect_eq(run.status, 0, f"exit status after a close (stderr: {run.stderr.strip()})")
    frames = match_frames(run)
    expect(frames, "no match frames")
    expect(all(f["GameMode"] == 1 for f in frames), "mode 1")

    # The resting ball rides the paddle; both are held to their limits.
    waiting = [f for f in frames if f["MatchState"] == 2]
    for f in waiting:
        expect_eq(f["Ball1"]["x"], f["Paddle1"]["x"] + 30, f"resting ball on the paddle, frame {f['n']}")
        expect(22 <= f["Paddle1"]["x"] <= 554, f"paddle inside the court, frame {f['n']}")
    xs = [f["Paddle1"]["x"] for f in waiting]
    expect(280 in xs and 310 in xs, f"mouse motion of 30 moves the paddle from 280 to 310: {sorted(set(xs))}")
    expect(22 in xs, "a large motion to the left stops the paddle at 22")
    expect(122 in xs, "then 100 to the right takes it to 122")

    # The computer follows the ball, 7 pixels a frame.
    for before, after in zip(frames, frames[1:]):
        if after["MatchState"] == 2 and after["ServingSide"] == 2:
            continue
        if (before["MatchState"], before["BallsInPlay"]) != (after["MatchState"], after["BallsInPlay"]):
            continue  # a serve, a point or a split happened in this frame
        # The computer moves before the ball does: it aims at where the ball
        # was before this frame's move.
        target = after["Ball1"]["x"] - after["Ball1"]["xVelocity"]
        p = before["Paddle2"]["x"]
        if after["BallsInPlay"] != 1:
            continue
        step = p + 7 if target > p else p
        if target < step:
            step -= 7
        step = min(max(step, 22), 554)
        expect_eq(after["Paddle2"]["x"], step,
                  f"computer paddle at frame {after['n']} (was {p}, ball at {target})")
        expect_eq(after["Paddle2"]["xVelocity"], 0, "computer paddle direction")

    # The prompt shows while the serve is awaited, and not after the click.
    prompts = run.texts(265, 235, "click to continue", surface="back")
    expect(prompts, "click to continue")
    expect(all(p["index"] == 163 for p in prompts), "prompt colour 163")
    served = [f for f in frames if f["MatchState"] == 1]
    expect(served, "the click served")
    expect_eq(check_serves(frames), 1, "serves")
    first_play = served[0]["t"]
    next_wait = next((f["t"] for f in frames if f["t"] > first_play and f["MatchState"] == 2), 10**9)
    expect(not [p for p in prompts if first_play <= p["t"] < next_wait - 33],
           "no prompt while the ball is in play")
    check_points_and_serves(run, frames)
    expect(run.events[-1]["t"] < 20100, "the close ends the game at once")


def two_player_match(r, data):
    """Two players on the bound keys; Space serves."""
    script = (press(MENU_READY, KEY_2)
              + f"14600 key {LEFT} down\n14800 key {LEFT} up\n"
              + f"14600 key {D} down\n14700 key {D} up\n"
              + press(15000, SPACE, 100)
              + "30000 close\n")
    run = r.run(script, until=60000)
    expect_eq(run.status, 0, "exit status")
    frames = match_frames(run)
    expect(all(f["GameMode"] == 2 for f in frames), "mode 2")
    waiting = [f for f in frames if f["MatchState"] == 2 and f["t"] < 15000]
    for before, after in zip(waiting, waiting[1:]):
        d1 = after["Paddle1"]["x"] - before["Paddle1"]["x"]
        d2 = after["Paddle2"]["x"] - before["Paddle2"]["x"]
        expect(d1 in (0, -7) and d2 in (0, 7), f"keys move 7 pixels a frame: {d1}, {d2}")
        expect_eq(after["Ball1"]["x"], after["Paddle1"]["x"] + 30, "the ball rides the bottom paddle")
        if d1:
            expect_eq(after["Paddle1"]["xVelocity"], -1, "direction of the bottom paddle")
        if d2:
            expect_eq(after["Paddle2"]["xVelocity"], 1, "direction of the top paddle")
    moved1 = 280 - waiting[-1]["Paddle1"]["x"]
    moved2 = waiting[-1]["Paddle2"]["x"] - 280
    expect(moved1 > moved2 > 0 and moved1 % 7 == 0 and moved2 % 7 == 0,
           f"held keys moved the paddles by {moved1} and {moved2}")
    prompts = run.texts(235, 235, "press space to continue", surface="back")
    expect(prompts and all(p["index"] == 163 for p in prompts), "press space to continue, colour 163")
    expect(check_serves(frames) >= 1, "Space serves")
    points = check_points_and_serves(run, frames)
    expect(points, "a point within 15 s of play")


def points_and_serves(r, data):
    """Rallies won by each side: the scorer's point counts, and the side that
    scored serves the next rally from its own paddle. In mode 2 nobody
    returns the ball, so the bottom side scores; in mode 1 the computer
    returns everything and the still mouse misses, so the top side scores."""
    script = press(MENU_READY, KEY_2)
    for t in (15000, 19000, 23000):
        script += press(t, SPACE, 100)
    script += press(26000, ESCAPE, 100) + press(28000, KEY_1)
    for t in range(30000, 54000, 4000):
        script += f"{t} button 0 down\n{t + 100} button 0 up\n"
    script += "56000 close\n"
    run = r.run(script, until=90000)
    expect_eq(run.status, 0, "exit status")
    frames = match_frames(run)
    points = check_points_and_serves(run, frames)
    scorers = [s for s, _ in points]
    expect(scorers.count(1) >= 2 and scorers.count(2) >= 2, f"points went to sides {scorers}")
    served = check_serves(frames)
    expect(served >= 5, f"only {served} serves")
    top = [f for f in frames if f["MatchState"] == 1 and f["ServingSide"] == 2]
    expect(top, "a serve from the top")


def split(r, data, epoch):
    """A rally in which the ball splits in two."""
    run = r.run(split_script(), until=60000, epoch=epoch)
    expect_eq(run.status, 0, "exit status")
    frames = match_frames(run)
    splits = [(b, a) for b, a in zip(frames, frames[1:]) if b["BallsInPlay"] == 1 and a["BallsInPlay"] == 2]
    expect(splits, f"no split with epoch {epoch}")
    before, after = splits[0]
    expect(after["Ball2"]["visible"] and after["Ball2"]["state"] == 1, "the second ball is in play")
    b1, b2 = after["Ball1"], after["Ball2"]
    expect_eq((b2["xVelocity"], b2["yVelocity"]), (-b1["xVelocity"], -b1["yVelocity"]),
              "the second ball flies off the opposite way")
    expect(any(before["t"] <= s["t"] <= after["t"] for s in run.sounds("play", "SPLIT.WAV")),
           "SPLIT.WAV at the split")
    # The rule looks at the ball before it moves in that frame.
    x, y = before["Ball1"]["x"], before["Ball1"]["y"]
    expect(140 < x < 500 and 100 < y < 350, f"split at ({x}, {y}), outside the window")
    # A ball that leaves while the other stays in play scores but the rally
    # goes on, with the one left as Ball1 by the next frame.
    ones = [i for i, (b, a) in enumerate(zip(frames, frames[1:]))
            if b["BallsInPlay"] == 2 and a["BallsInPlay"] == 1 and a["MatchState"] == 1]
    expect(ones, "a two-ball rally that goes on with one ball")
    later = frames[ones[0] + 2]
    expect(later["Ball1"]["visible"] and later["Ball1"]["state"] == 1, "Ball1 in play after one ball left")
    expect(not later["Ball2"]["visible"] and later["Ball2"]["state"] == 0, "Ball2 out after one ball left")
    check_points_and_serves(run, frames)


def split_script():
    # Mode 1: the computer returns every ball, so the rallies are long enough
    # for the split rule to be tried many times. Ends before the match does
    # (a close waits while the menu is up).
    script = press(MENU_READY, KEY_1)
    for t in range(15000, 25000, 3000):
        script += f"{t} button 0 down\n{t + 100} button 0 up\n"
    script += "25000 close\n"
    return script


def find_split_epoch(r, first=1700000000, tries=40):
    for epoch in range(first, first + tries):
        run = r.run(split_script(), until=60000, epoch=epoch)
        if any(f["BallsInPlay"] == 2 for f in run.frames()):
            return epoch
    return None


def match_to_ten(r, data):
    """U keeps Player 1 at 9, so the next point wins: the end of a match."""
    script = (press(MENU_READY, KEY_2)
              + f"14000 key {U} down\n"
              + press(14500, SPACE, 100)
              + f"19000 key {U} up\n"
              + press(26000, KEY_2)
              + "29000 close\n")
    run = r.run(script, until=60000)
    expect_eq(run.status, 0, "exit status")
    frames = run.frames()
    ten = [f for f in frames if f["Player1Score"] == 10]
    expect(ten, "Player 1 reached 10")
    end = ten[0]
    expect_eq((end["MatchState"], end["ServingSide"]), (2, 1), "state on the final frame")
    # No prompt on the frame of the tenth point, but the scores are drawn.
    expect(not [t for t in run.texts(235, 235) if end["t"] - 33 < t["t"] <= end["t"]],
           "no prompt on the final frame")
    expect(run.texts(20, 1, "Player 1 - 10", surface="back"), "Player 1 - 10 at (20, 1)")
    expect(run.texts(548, 1, "Player 2 - 0", surface="back"), "Player 2 - 0 at (548, 1)")

    at = run.events.index(end)
    after = [e for e in run.events[at + 1:] if e["ev"] in ("sleep", "sound", "text")]
    sequence = [(e["ev"], e.get("ms"), e.get("op"), e.get("file"), e.get("text")) for e in after[:6]]
    wanted = [("sleep", 600, None, None, None),
              ("sound", None, "stop", "MUSIC.WAV", None),
              ("sound", None, "play", "SPIKE.WAV", None),
              ("text", None, None, None, "Player one score - 10"),
              ("text", None, None, None, "Player two score - 0"),
              ("sleep", 4000, None, None, None)]
    expect_eq(sequence, wanted, "the end of the match")
    expect(not [s for s in run.sounds("play", "SPIKE.WAV") if s["loop"]], "SPIKE.WAV once")
    one = run.texts(250, 230, "Player one score - 10", surface="primary")
    two = run.texts(250, 245, "Player two score - 0", surface="primary")
    expect(one and two, "final lines at (250, 230) and (250, 245) on the visible screen")

    # Then the fade and the menu; the next match starts from 0 to 0.
    menu_back = [t for t in run.texts(313, 428) if t["t"] > end["t"]]
    expect(menu_back, "the menu after the match")
    expect(menu_back[0]["t"] >= after[5]["t"] + 4000 + 960, "the fade before the menu")
    nxt = [f for f in frames if f["t"] > 26000 and f["MatchState"] != 0]
    expect(nxt, "a second match")
    expect_eq((nxt[0]["Player1Score"], nxt[0]["Player2Score"]), (0, 0), "scores of the next match")
    expect(run.sounds("play", "MUSIC.WAV"), "music in the next match")


def escape_during_play(r, data):
    """Escape leaves a match for the menu and abandons its score."""
    script = (press(MENU_READY, KEY_1)
              + press(14500, U, 100)
              + "14800 button 0 down\n14900 button 0 up\n"
              + press(16000, ESCAPE, 100)
              + press(19000, KEY_2)
              + press(21000, ESCAPE, 100)
              + press(24000, Q))
    run = r.run(script, until=60000)
    expect_eq(run.status, 0, "exit status")
    before = [f for f in run.frames() if 14700 < f["t"] < 16000]
    expect(before and before[-1]["Player1Score"] == 9, "U set Player 1 to 9")
    menus = [t["t"] for t in run.texts(313, 428, "On")]
    expect(len(menus) == 3, f"the menu thrice (start, Escape, Escape): {menus}")
    expect(16000 <= menus[1] <= 16000 + 100 + 960 + 200, "Escape's fade and menu at once")
    second = [f for f in run.frames() if 19000 < f["t"] < 21000]
    expect(second, "frames of the second match")
    expect_eq((second[0]["Player1Score"], second[0]["Player2Score"], second[0]["GameMode"]), (0, 0, 2),
              "the second match starts from 0 in mode 2")
    expect(run.sounds("stop", "MUSIC.WAV"), "the menu stops the music")


def redefine_keys(r, data):
    """C, four keys, Escape: the file, the screen, the menu, the next run."""
    script = (press(MENU_READY, C)
              + press(15000, J) + press(15500, ESCAPE) + press(16000, K)
              + press(16500, UP) + press(17000, DOWN)
              + press(17500, W) + press(18500, ESCAPE)
              + press(19500, Q))
    run = r.run(script, until=60000)
    expect_eq(run.status, 0, "exit status")
    expect_eq(run.file("keys.dat"), keys_file(J, K, UP, DOWN, 1), "keys.dat after four keys")
    heading = run.texts(160, 160, "Enter a new key for the corresponding action")
    expect(heading and heading[0]["index"] == 144, "heading in colour 144")
    for i, (label, name) in enumerate([("Player 1 Left", "J"), ("Player 1 Right", "K"),
                                       ("Player 2 Left", "Up arrow"), ("Player 2 Right", "Down Arrow")]):
        y = 200 + 20 * i
        expect(run.texts(210, y, label), f"label {label}")
        names = run.texts(320, y)
        expect_eq([(n["text"], n["index"]) for n in names], [(name, 250)], f"key name at y {y}")
    leave = run.texts(160, 300, "Press ESCAPE to go back to the main menu..")
    expect(leave, "the way back")
    expect(leave[0]["t"] >= 17000, "asked after the fourth key")
    expect_eq(run.sleeps()[3:7], [200, 200, 200, 200], "a 200 ms pause before each key")
    back = [t for t in run.texts(313, 428) if t["t"] >= 18500]
    expect(back, "the menu after Escape")
    expect_eq(menu_words(run, 18500), {(230, 287): "J", (230, 307): "K", (420, 287): "Up arrow",
                                       (420, 307): "Down Arrow", (313, 428): "On"},
              "new names on the menu")
    # The W at 17500 did not leave the screen.
    expect(back[0]["t"] >= 18500, "only Escape leaves")

    # Kept across runs; and these keys move the paddles.
    again = r.run(press(MENU_READY, KEY_2) + f"14600 key {J} down\n14800 key {J} up\n"
                  + f"14600 key {DOWN} down\n14700 key {DOWN} up\n" + press(16000, ESCAPE)
                  + press(18000, Q), until=60000, folder=run.folder)
    expect_eq(again.status, 0, "exit status of the second run")
    expect_eq(menu_words(again, 0)[(230, 287)], "J", "keys read back from keys.dat")
    moved = [f for f in again.frames() if f["MatchState"] == 2 and 14600 < f["t"] < 15500]
    expect(moved and moved[-1]["Paddle1"]["x"] < 280, "J moves the bottom paddle left")
    expect(moved[-1]["Paddle2"]["x"] > 280, "Down Arrow moves the top paddle right")


def music_switch(r, data):
    """M: the word, keys.dat, and the tune that comes only with the next match."""
    script = press(MENU_READY, M, 300) + press(14000, KEY_2) + "17000 close\n"
    run = r.run(script, until=60000)
    expect_eq(run.status, 0, "exit status")
    words = run.texts(313, 428)
    expect_eq([w["text"] for w in words], ["On", "On", "Off"], "the word redrawn once for a held M")
    expect_eq(words[2]["index"], 162, "Off in colour 162")
    expect(words[1]["index"] not in (138, 162), "On erased in black")
    expect_eq(run.file("keys.dat"), keys_file(LEFT, RIGHT, A, D, 0), "keys.dat with music off")
    switch_at = words[1]["t"]
    expect(not [s for s in run.sounds() if switch_at <= s["t"] < 14000], "M itself plays and stops nothing")
    expect(not run.sounds("play", "MUSIC.WAV"), "no music in a match with the music off")

    second = r.run(press(MENU_READY, M) + press(14000, KEY_1) + "17000 close\n",
                   until=60000, folder=run.folder)
    expect_eq(second.status, 0, "exit status")
    words = second.texts(313, 428)
    expect_eq([(w["text"], w["index"]) for w in words][0], ("Off", 162), "the setting read back")
    expect_eq([w["text"] for w in words], ["Off", "Off", "On"], "switched back on")
    expect_eq(second.file("keys.dat"), keys_file(LEFT, RIGHT, A, D, 1), "keys.dat with music on")
    switch_at = words[1]["t"]
    expect(not [s for s in second.sounds("play", "MUSIC.WAV") if s["t"] < 14000],
           "the music waits for the match")
    music = second.sounds("play", "MUSIC.WAV")
    expect(music and music[0]["loop"] and music[0]["t"] >= 14000, "the music loops from the match on")
    expect(second.sounds("stop", "MENU.WAV"), "the menu tune stops for the match")


def wav_samples(raw):
    """The samples of a canonical 8-bit mono wave file, and its rate."""
    expect(raw is not None and raw[:4] == b"RIFF" and raw[36:40] == b"data", "a wave file")
    rate = int.from_bytes(raw[24:28], "little")
    return raw[44:44 + int.from_bytes(raw[40:44], "little")], rate


def menu_tune_in_the_mix(r, data):
    """--audio-out: the menu tune is heard, looping, from the moment the menu
    plays it until the match stops it, and nothing after (music off)."""
    script = press(MENU_READY, M, 100) + press(45000, KEY_2) + "50000 close\n"
    run = r.run(script, until=60000, extra=("--audio-out", "mix.wav"))
    expect_eq(run.status, 0, "exit status")
    samples, rate = wav_samples(run.file("mix.wav"))
    expect_eq(rate, 11025, "rate of the mixed output")
    expect(len(samples) >= 50000 * rate // 1000, f"the mix covers the run: {len(samples)} samples")

    started = run.sounds("play", "MENU.WAV")
    stopped = run.sounds("stop", "MENU.WAV")
    expect(started and started[0]["loop"] == 1, "the menu tune is played looped")
    expect(stopped, "the match stops the menu tune")
    begin, end = started[0]["t"], stopped[0]["t"]
    expect(end - begin > 25000, f"the menu was up {end - begin} ms, longer than one pass of its tune")

    def loud(from_ms, to_ms):
        window = samples[from_ms * rate // 1000:to_ms * rate // 1000]
        return max(abs(s - 128) for s in window)

    # Every second of the menu sounds, the second pass of the tune included.
    for second in range(begin, end - 1000, 1000):
        expect(loud(second, second + 1000) >= 2, f"the menu tune is silent at {second} ms")
    # Nothing is heard once it has stopped: the music is off for this match.
    expect_eq(loud(end + 50, 50000), 0, "sound after the menu tune was stopped")


def close_during_play(r, data):
    """A window close in the middle of a rally ends the game with status 0."""
    run = r.run(press(MENU_READY, KEY_1) + "14500 button 0 down\n14600 button 0 up\n16000 close\n",
                until=60000)
    expect_eq(run.status, 0, "exit status")
    last = run.events[-1]
    expect_eq((last["ev"], last.get("code")), ("exit", 0), "the trace ends with exit 0")
    expect(last["t"] < 16100, f"exit at {last['t']} ms, long after the close")
    expect(run.frames()[-1]["MatchState"] == 1, "the ball was in play")


def close_anywhere(r, data):
    """A close request ends the game within 100 ms wherever it comes: a logo
    pause, a fade, the menu, key redefinition, the end of a match, the
    credits. The exit is the normal one, and keys.dat is left as it was."""
    end_of_match = press(MENU_READY, KEY_2) + f"14000 key {U} down\n" + press(14500, SPACE, 100)
    ended = r.run(end_of_match, until=40000)
    final = [e for e in ended.of("sleep") if e["ms"] == 4000]
    expect(final, "the end-of-match pause")
    cases = [("the first logo", "", 3000),
             ("the fade after it", "", 5500),
             ("the menu", "", 14000),
             ("key redefinition", press(MENU_READY, C) + press(15000, J), 16000),
             ("the end of a match", end_of_match, final[0]["t"] + 1000),
             ("the credits", press(MENU_READY, Q), 16000)]
    for where, script, close_at in cases:
        run = r.run(script + f"{close_at} close\n", until=60000)
        expect_eq(run.status, 0, f"exit status after a close in {where}")
        last = run.events[-1]
        expect_eq((last["ev"], last.get("code")), ("exit", 0), f"last event after a close in {where}")
        expect(last["t"] - close_at < 100, f"a close in {where} at {close_at} ms ended at {last['t']} ms")
        expect(run.file("keys.dat") is None, f"keys.dat written after a close in {where}")


SCENARIOS = {
    "startup_and_quit": startup_and_quit,
    "one_player_match": one_player_match,
    "two_player_match": two_player_match,
    "points_and_serves": points_and_serves,
    "match_to_ten": match_to_ten,
    "escape_during_play": escape_during_play,
    "redefine_keys": redefine_keys,
    "music_switch": music_switch,
    "close_during_play": close_during_play,
    "close_anywhere": close_anywhere,
    "menu_tune_in_the_mix": menu_tune_in_the_mix,
}
