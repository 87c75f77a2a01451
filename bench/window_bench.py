#!/usr/bin/env python3
"""The real game in a real window under Xvfb, timed as a player meets it:
from exec to the first logo, the fades, when the menu shows, the share of a
core it takes in the menu and in a two-player match (driven with xdotool),
its wake-ups, the frame period, and its peak memory from the logos to the
credits. Prints one table, a column per screen size.

  window_bench.py --game PATH --data DIR --tools DIR [--size WxH ...]

--tools is the folder holding volleen-screen-watch and present_log.so
(the build folder). Works with any build of the game: the frame period comes
from present_log.so, outside the game; the game's own --frame-stats line
is printed beside it when the game has one."""

import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

HZ = os.sysconf("SC_CLK_TCK")


class Xvfb:
    def __init__(self, size):
        read, write = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", f"{size}x24", "-nolisten", "tcp"],
            pass_fds=[write], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.env = dict(os.environ, DISPLAY=f":{number}")
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("SDL_VIDEODRIVER", None)

    def key(self, name, hold=0.15):
        # Held a moment: the game reads the keyboard as state, once a frame.
        subprocess.run(["xdotool", "keydown", name], env=self.env, check=True)
        time.sleep(hold)
        subprocess.run(["xdotool", "keyup", name], env=self.env, check=True)

    def close(self):
        self.process.terminate()
        self.process.wait()


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


def status_field(pid, name):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(name + ":"):
                return int(line.split()[1])
    return 0


def measure(pid, xvfb_pid, seconds):
    """Share of one core (game, X server) and the game's wake-ups a second."""
    game0, x0 = cpu_ticks(pid), cpu_ticks(xvfb_pid)
    wake0 = status_field(pid, "voluntary_ctxt_switches")
    start = time.monotonic()
    time.sleep(seconds)
    elapsed = time.monotonic() - start
    game = (cpu_ticks(pid) - game0) / HZ / elapsed * 100
    x = (cpu_ticks(xvfb_pid) - x0) / HZ / elapsed * 100
    wakes = (status_field(pid, "voluntary_ctxt_switches") - wake0) / elapsed
    return game, x, wakes


def read_events(path):
    events = []
    with open(path) as f:
        for line in f:
            parts = line.split()
            if len(parts) == 2 and parts[0] not in ("pid", "exit"):
                events.append((float(parts[0]), int(parts[1])))
    return events


def first_pid(path):
    for _ in range(100):
        try:
            with open(path) as f:
                line = f.readline().split()
            if line and line[0] == "pid":
                return int(line[1])
        except FileNotFoundError:
            pass
        time.sleep(0.05)
    raise RuntimeError("the watcher did not start the game")


def phases(events):
    """From the rows' changes: the first picture, the two fades and the menu.
    Changes come in groups with still moments between them; a fade is a
    group of many changes in which the picture only darkens (the count of
    pixels that are not black never rises), and the menu is the first change
    after the second fade."""
    result = {"fades": []}
    for t, non_black in events:
        if non_black > 0:
            result["first"] = t
            break
    groups = []
    for event in events:
        if groups and event[0] - groups[-1][-1][0] < 200:
            groups[-1].append(event)
        else:
            groups.append([event])
    for n, group in enumerate(groups):
        if len(group) < 20:
            continue  # a picture put up, not a fade
        end = 0
        while end + 1 < len(group) and group[end + 1][1] <= group[end][1]:
            end += 1
        result["fades"].append(group[end][0] - group[0][0])
        if len(result["fades"]) == 2:
            after = group[end + 1:] + [e for g in groups[n + 1:] for e in g]
            if after:
                result["menu"] = after[0][0]
            break
    return result


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(fraction * len(ordered)))]


def run(size, args, work):
    x = Xvfb(size)
    game_dir = os.path.join(work, "run-" + size)
    shutil.copytree(args.data, game_dir)
    events_path = os.path.join(work, f"events-{size}.txt")
    presents_path = os.path.join(work, f"presents-{size}.txt")
    pumps_path = os.path.join(work, f"pumps-{size}.txt")
    env = dict(x.env, LD_PRELOAD=os.path.join(args.tools, "present_log.so"),
               VOLLEEN_PRESENT_LOG=presents_path, VOLLEEN_PUMP_LOG=pumps_path)
    command = [os.path.join(args.tools, "volleen-screen-watch"), events_path, args.game]
    with open(args.game, "rb") as f:
        if b"--frame-stats" in f.read():  # older builds have no such option
            command.append("--frame-stats")
    with open(os.path.join(work, f"game-{size}.out"), "w") as out:
        watcher = subprocess.Popen(command, cwd=game_dir, env=env, stdout=out, stderr=subprocess.STDOUT)
    r = {}
    try:
        pid = first_pid(events_path)
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline and "menu" not in phases(read_events(events_path)):
            time.sleep(0.2)
        watcher.send_signal(signal.SIGUSR1)
        r.update(phases(read_events(events_path)))
        if "menu" not in r:
            raise RuntimeError(f"{size}: the menu never showed")
        time.sleep(1.5)
        r["menu_cpu"], r["menu_x"], r["menu_wakes"] = measure(pid, x.process.pid, 5)

        x.key("2")
        time.sleep(2.5)  # the menu fades out
        x.key("space")
        match_start = time.monotonic()
        shares = []
        for _ in range(4):  # serve again now and then, as the players would
            shares.append(measure(pid, x.process.pid, 2.5))
            x.key("space")
        match_end = time.monotonic()
        r["match_cpu"] = statistics.mean(s[0] for s in shares)
        r["match_x"] = statistics.mean(s[1] for s in shares)
        r["match_wakes"] = statistics.mean(s[2] for s in shares)

        x.key("Escape")
        # Held from now on: the fade back to the menu reads no keys, the menu
        # sees it at once, and the credits run to the end.
        subprocess.run(["xdotool", "keydown", "q"], env=x.env, check=True)
        deadline = time.monotonic() + 60
        while watcher.poll() is None and time.monotonic() < deadline:
            try:
                r["peak_rss_mb"] = status_field(pid, "VmHWM") / 1024
            except OSError:
                pass  # it has just ended
            time.sleep(0.2)
        subprocess.run(["xdotool", "keyup", "q"], env=x.env)
    finally:
        if watcher.poll() is None:
            watcher.kill()
        x.close()

    # A frame's time is that of its last picture: a point scored draws the
    # court twice within one frame, a millisecond apart.
    frames = []
    if os.path.exists(presents_path):
        with open(presents_path) as f:
            for line in f:
                start = int(line.split()[0])
                if not match_start * 1e6 <= start <= match_end * 1e6:
                    continue
                if frames and start - frames[-1] < 5000:
                    frames[-1] = start
                else:
                    frames.append(start)
    periods = [(b - a) / 1000 for a, b in zip(frames, frames[1:])]
    if periods:
        r["period"] = (min(periods), statistics.median(periods), percentile(periods, 0.99),
                       max(periods))
        r["short"] = tuple(sum(p < limit for p in periods) / len(periods) * 100
                           for limit in (33.0, 32.9))
        r["fps"] = len(periods) / (match_end - match_start)
    if os.path.exists(pumps_path) and frames:
        with open(pumps_path) as f:
            pumps = sum(1 for line in f if match_start * 1e6 <= int(line) <= match_end * 1e6)
        r["pumps"] = pumps / len(frames)
    with open(os.path.join(work, f"game-{size}.out")) as f:
        r["frame_stats"] = [line.strip() for line in f if "frame" in line and "period" in line]
    return r


def headless_speed(args, work):
    """Virtual milliseconds per real one: a two-player match with serves."""
    runner = os.path.join(os.path.dirname(args.game), "volleen-headless")
    if not os.path.exists(runner):
        return None
    script = os.path.join(work, "speed.txt")
    with open(script, "w") as f:
        f.write("13000 key 3 down\n13100 key 3 up\n")
        for ms in range(15000, 115000, 2000):
            f.write(f"{ms} key 57 down\n{ms + 100} key 57 up\n")
    game_dir = os.path.join(work, "headless")
    shutil.copytree(args.data, game_dir)
    start = time.monotonic()
    subprocess.run([runner, "--script", script, "--until", "120000"], cwd=game_dir,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return 120000 / ((time.monotonic() - start) * 1000)


def table(sizes, results, speed):
    rows = []

    def row(name, fmt):
        rows.append(f"| {name} | " + " | ".join(fmt(results[s]) for s in sizes) + " |")

    def get(key, form):
        return lambda r: form.format(r[key]) if key in r else "-"

    row("Exec to the first logo", get("first", "{:.0f} ms"))
    row("Fade (80 steps of 12 ms)", lambda r: " / ".join(f"{v:.0f}" for v in r["fades"]) + " ms")
    row("Menu shown after", lambda r: f"{r['menu'] / 1000:.2f} s" if "menu" in r else "-")
    row("CPU, menu (game / X server)", lambda r: f"{r['menu_cpu']:.1f} % / {r['menu_x']:.1f} %")
    row("CPU, match (game / X server)", lambda r: f"{r['match_cpu']:.1f} % / {r['match_x']:.1f} %")
    row("Wake-ups a second, menu / match", lambda r: f"{r['menu_wakes']:.0f} / {r['match_wakes']:.0f}")
    row("Frames a second in the match", get("fps", "{:.1f}"))
    row("Event pumps a frame in the match", get("pumps", "{:.2f}"))
    row("Frame period min / median / p99 / max",
        lambda r: "{:.2f} / {:.2f} / {:.2f} / {:.2f} ms".format(*r["period"][:4]) if "period" in r else "-")
    row("Frames shorter than 33.0 ms / than 32.9 ms",
        lambda r: "{:.1f} % / {:.1f} %".format(*r["short"]) if "short" in r else "-")
    row("Peak resident memory, logos to credits", get("peak_rss_mb", "{:.0f} MB"))
    header = "| Figure | " + " | ".join(sizes) + " |\n|---|" + "---|" * len(sizes)
    out = header + "\n" + "\n".join(rows)
    if speed is not None:
        out += f"\n\nHeadless runner: {speed:.0f} times faster than real time (a 120 s match)."
    for s in sizes:
        for line in results[s]["frame_stats"]:
            out += f"\n{s} --frame-stats: {line}"
    return out


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--game", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--tools", required=True)
    parser.add_argument("--size", action="append")
    args = parser.parse_args()
    args.game = os.path.abspath(args.game)
    args.data = os.path.abspath(args.data)
    args.tools = os.path.abspath(args.tools)
    sizes = args.size or ["640x480", "1920x1080"]
    work = tempfile.mkdtemp(prefix="volleen-bench.")
    try:
        results = {size: run(size, args, work) for size in sizes}
        print(table(sizes, results, headless_speed(args, work)))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
