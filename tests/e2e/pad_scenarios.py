"""Gamepads, end to end on volleen-headless: what pads do in the menu and in
both kinds of match, a pad unplugged mid-match, and the mouse that only
counts while a match holds it."""

from headless_run import expect, expect_eq
from scenarios import KEY_2, LEFT, MENU_READY, SPACE, keys_file, match_frames, press, check_serves

A_KEY, D_KEY = 30, 32


def pad_press(ms, pad, button, hold=100):
    return f"{ms} pad {pad} button {button} down\n{ms + hold} pad {pad} button {button} up\n"


def steps(frames, paddle, since, until):
    """The paddle's x change in each frame between two times."""
    window = [f for f in frames if since <= f["t"] < until]
    return [b[paddle]["x"] - a[paddle]["x"] for a, b in zip(window, window[1:])]


def serve_times(frames):
    return [b["t"] for a, b in zip(frames, frames[1:]) if a["MatchState"] == 2 and b["MatchState"] == 1]


def pads_two_players(r, data):
    """Pad 1 is the bottom player, pad 2 the top one: d-pad or stick past
    the dead zone press the bound keys, the south button serves as Space."""
    script = ("0 pad 0 added\n0 pad 1 added\n"
              + press(MENU_READY, KEY_2)
              + "14500 pad 0 button dpleft down\n14800 pad 0 button dpleft up\n"
              + "14500 pad 1 axis leftx 20000\n14700 pad 1 axis leftx 0\n"
              + "15000 pad 0 axis leftx -7000\n15000 pad 1 axis leftx 7000\n"  # inside the dead zone
              + "15400 pad 0 axis leftx 0\n15400 pad 1 axis leftx 0\n"
              + pad_press(16000, 1, "a")
              + "20000 close\n")
    run = r.run(script, until=60000)
    expect_eq(run.status, 0, f"exit status (stderr: {run.stderr.strip()})")
    frames = match_frames(run)
    expect(frames and all(f["GameMode"] == 2 for f in frames), "a two-player match")
    bottom = steps(frames, "Paddle1", 14500, 15000)
    top = steps(frames, "Paddle2", 14500, 15000)
    expect(set(bottom) <= {0, -7} and bottom.count(-7) >= 8, f"pad 1's d-pad moves the bottom paddle: {bottom}")
    expect(set(top) <= {0, 7} and top.count(7) >= 5, f"pad 2's stick moves the top paddle: {top}")
    expect(bottom.count(-7) > top.count(7), "each pad moves its own paddle for as long as it is held")
    still = steps(frames, "Paddle1", 15000, 15400) + steps(frames, "Paddle2", 15000, 15400)
    expect(set(still) == {0}, f"a stick inside the dead zone moves nothing: {still}")
    served = serve_times(frames)
    expect(served and 16000 <= served[0] <= 16100, f"pad 2's south button serves: {served}")
    expect_eq(check_serves(frames), len(served), "serves")
    # Nobody returns the ball: the bottom side scores and serves next, from pad 1.
    r2 = r.run(script.replace("20000 close", "") + pad_press(20000, 0, "a") + "22000 close\n",
               until=60000)
    frames = match_frames(r2)
    served = serve_times(frames)
    expect(len(served) == 2 and 20000 <= served[1] <= 20100, f"pad 1 serves the next rally: {served}")


def pad_one_player(r, data):
    """The first pad's stick or d-pad moves the bottom paddle as mouse
    motion does, its south button clicks; the south button that chose the
    match in the menu does not serve until pressed again. Motion made while
    the menu had released the mouse never reaches the paddle."""
    script = ("0 pad 0 added\n"
              + "12000 mouse 400 0\n"                     # before the menu
              + f"{MENU_READY} pad 0 button a down\n"      # one player, held into the match
              + "13500 mouse -300 0\n"                    # the menu: released
              + "14600 pad 0 axis leftx 32767\n14800 pad 0 axis leftx 0\n"
              + "15000 pad 0 axis leftx -16384\n15200 pad 0 axis leftx 0\n"
              + "15400 pad 0 button dpleft down\n15600 pad 0 button dpleft up\n"
              + "15800 mouse 30 0\n"                      # the mouse works beside the pad
              + "16000 pad 0 button a up\n"
              + pad_press(16500, 0, "a")
              + "19000 close\n")
    run = r.run(script, until=60000)
    expect_eq(run.status, 0, f"exit status (stderr: {run.stderr.strip()})")
    frames = match_frames(run)
    expect(frames and all(f["GameMode"] == 1 for f in frames), "a one-player match")
    waiting = [f for f in frames if f["t"] < 14600]
    expect(waiting and {f["Paddle1"]["x"] for f in waiting} == {280},
           f"menu-time motion moved the paddle: {sorted({f['Paddle1']['x'] for f in waiting})}")
    full = steps(frames, "Paddle1", 14600, 14800)
    expect(set(full) <= {0, 12} and full.count(12) >= 4, f"full tilt: 12 pixels a frame: {full}")
    half = steps(frames, "Paddle1", 15000, 15200)
    expect(set(half) <= {0, -4} and half.count(-4) >= 4, f"half tilt: 4 pixels a frame: {half}")
    pad = steps(frames, "Paddle1", 15400, 15600)
    expect(set(pad) <= {0, -12} and pad.count(-12) >= 4, f"d-pad: 12 pixels a frame: {pad}")
    expect(30 in steps(frames, "Paddle1", 15700, 15900), "the mouse moves the paddle too")
    for f in frames:
        if f["MatchState"] == 2:
            expect_eq(f["Ball1"]["x"], f["Paddle1"]["x"] + 30, f"the resting ball rides the paddle, frame {f['n']}")
    served = serve_times(frames)
    expect(served and 16500 <= served[0] <= 16600, f"only the second press of A serves: {served}")


def pad_menu(r, data):
    """Pad buttons are the menu's keys: Y switches the music, Back starts a
    two-player match, Start in a match is Escape (and, still held, does not
    start a match from the menu), X two players again, B quits."""
    script = ("0 pad 1 added\n"
              + pad_press(MENU_READY, 1, "y")
              + pad_press(13500, 1, "back")
              + f"15000 pad 1 button start down\n18000 pad 1 button start up\n"
              + pad_press(19000, 1, "x")
              + pad_press(21000, 1, "start")
              + pad_press(23000, 1, "b"))
    run = r.run(script, until=60000)
    expect_eq(run.status, 0, f"exit status (stderr: {run.stderr.strip()})")
    expect_eq(run.file("keys.dat"), keys_file(LEFT, 205, A_KEY, D_KEY, 0), "Y switched the music off")
    expect_eq([w["text"] for w in run.texts(313, 428)][:3], ["On", "On", "Off"], "the music word")
    frames = match_frames(run)
    first = [f for f in frames if f["t"] < 15000]
    expect(first and all(f["GameMode"] == 2 for f in first), "Back: a two-player match")
    menus = [t["t"] for t in run.texts(313, 428, "Off")]
    expect(len(menus) >= 3 and 15000 <= menus[1] < 17000, f"Start left the match for the menu: {menus}")
    expect(not [f for f in frames if menus[1] < f["t"] < 19000], "Start held into the menu chose no match")
    second = [f for f in frames if 19000 < f["t"] < 21000]
    expect(second and all(f["GameMode"] == 2 for f in second), "X: a two-player match")
    expect_eq(run.sleeps()[-1], 7000, "B: the credits")
    expect(run.events[-1]["ev"] == "exit" and run.events[-1]["t"] > 23000, "B quits")


def pad_unplugged(r, data):
    """A pad pulled out while it holds a direction stops pressing it; the
    keyboard goes on as before."""
    script = ("0 pad 0 added\n"
              + press(MENU_READY, KEY_2)
              + "14500 pad 0 button dpright down\n"
              + "14800 pad 0 removed\n"
              + f"15200 key {LEFT} down\n15400 key {LEFT} up\n"
              + press(16000, SPACE, 100)
              + "18000 close\n")
    run = r.run(script, until=60000)
    expect_eq(run.status, 0, f"exit status (stderr: {run.stderr.strip()})")
    frames = match_frames(run)
    held = steps(frames, "Paddle1", 14500, 14800)
    expect(7 in held, f"the pad moved the paddle: {held}")
    after = steps(frames, "Paddle1", 14850, 15200)
    expect(after and set(after) == {0}, f"the unplugged pad still pressed: {after}")
    keys = steps(frames, "Paddle1", 15200, 15400)
    expect(-7 in keys, f"the keyboard moves the paddle after the pad left: {keys}")
    served = serve_times(frames)
    expect(served and 16000 <= served[0] <= 16100, f"Space serves: {served}")


SCENARIOS = {
    "pads_two_players": pads_two_players,
    "pad_one_player": pad_one_player,
    "pad_menu": pad_menu,
    "pad_unplugged": pad_unplugged,
}
