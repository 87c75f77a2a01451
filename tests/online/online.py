"""Online matches between two runners on loopback, in real time.

  online.py SCENARIO --runner PATH --poke PATH --data DIR --version V

  match     a whole match to 10 in step, the same frames on both sides, the
            same replay kept on both; Escape on one side in the next match
            is "The other player has left" on the other
  impaired  the same match with 50 ms +- 10 ms and 5 % loss each way
  desync    one side put out of step: both stop within 5 frames
  hostile   garbage, a wrong version, a second guest and a flood at the
            host, while it waits and while it plays
  refused   a guest meets a host of another version, and no host at all
"""

import argparse
import json
import os
import random
import re
import socket
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from headless_run import Failure, Run, Runner, expect, expect_eq  # noqa: E402

LEFT, RIGHT, SPACE, ESCAPE, KEY_Q = 203, 205, 57, 1, 16
LEFT_TEXT = "The other player has left"
OUT_OF_STEP = "The two games are out of step"
SUMMARY = re.compile(r"online: (\d+) frames, (\d+) stalled \(([\d.]+) %\), input delay (\d+) "
                     r"to (\d+) frames, round trip (\d+) ms, sent (\d+) B/s, received (\d+) B/s, "
                     r"(\d+) messages refused")


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def player_script(hold, escape_at=None, quit_at=70000, serve_until=None):
    """Leans on one key long enough to reach the edge whatever the moment the
    match begins, then stands there and serves. With the bottom paddle at the
    left edge and the top one at the right, nobody returns a ball: the first
    match runs 31 to 36 s of frames, whatever the calendar."""
    lines = [f"3000 key {hold} down", f"12000 key {hold} up"]
    for ms in range(2000, serve_until or quit_at - 5000, 700):
        lines += [f"{ms} key {SPACE} down", f"{ms + 40} key {SPACE} up"]
    if escape_at:
        lines += [f"{escape_at} key {ESCAPE} down", f"{escape_at + 50} key {ESCAPE} up"]
    lines += [f"{quit_at} key {KEY_Q} down", f"{quit_at + 100} key {KEY_Q} up"]
    return "\n".join(lines)


class Side:
    """One runner playing online, started in the background."""

    def __init__(self, runner, script, args, until, stdout=subprocess.DEVNULL):
        self.folder = runner.fresh_folder()
        self.trace = os.path.join(self.folder, "trace.jsonl")
        self.replays = os.path.join(self.folder, "replays")
        script_path = os.path.join(self.folder, "script.txt")
        lines = sorted((l for l in script.splitlines() if l.strip()), key=lambda l: int(l.split()[0]))
        with open(script_path, "w") as f:
            f.write("\n".join(lines) + "\n")
        command = [runner.runner, "--skip-intro", "--script", script_path, "--trace", self.trace,
                   "--replays", self.replays, "--until", str(until)] + list(args)
        self.process = subprocess.Popen(command, cwd=self.folder, stdout=stdout,
                                        stderr=subprocess.PIPE, text=True)
        self.peak_kb = 0

    def sample_memory(self):
        try:
            with open(f"/proc/{self.process.pid}/status") as f:
                for line in f:
                    if line.startswith("VmRSS:"):
                        self.peak_kb = max(self.peak_kb, int(line.split()[1]))
        except OSError:
            pass

    def finish(self, timeout=200):
        stderr = self.process.communicate(timeout=timeout)[1]
        events = []
        if os.path.exists(self.trace):
            with open(self.trace) as f:
                events = [json.loads(line) for line in f if line.strip()]
        return Run(self.process.returncode, events, self.folder, stderr)


def pair(runner, host_script, guest_script, host_args=(), guest_args=(), until=90000,
         during=None):
    port = free_port()
    host = Side(runner, host_script, ["--host", str(port)] + list(host_args), until)
    time.sleep(0.3)
    guest = Side(runner, guest_script, ["--join", f"127.0.0.1:{port}"] + list(guest_args), until)
    if during:
        during(port, host)
    return host.finish(), guest.finish(), host, guest


def match_frames(run):
    """The match variables of every frame, without time and flip number."""
    return [json.dumps({k: v for k, v in e.items() if k not in ("t", "n")}, sort_keys=True)
            for e in run.frames()]


def first_match(run):
    """The frames of the first match: up to the first 10."""
    frames = run.frames()
    for i, e in enumerate(frames):
        if max(e["Player1Score"], e["Player2Score"]) == 10:
            return frames[: i + 1]
    raise Failure("no side reached 10 in the first match")


def summary(run):
    found = SUMMARY.search(run.stderr)
    expect(found is not None, f"no online summary on stderr:\n{run.stderr}")
    return [float(x) for x in found.groups()]


def in_step(host, guest, what):
    h, g = match_frames(host), match_frames(guest)
    common = min(len(h), len(g))
    expect(common > 900, f"{what}: only {common} frames played together")
    for i in range(common):
        if h[i] != g[i]:
            raise Failure(f"{what}: frame {i} differs:\n host  {h[i]}\n guest {g[i]}")
    expect(OUT_OF_STEP not in host.stderr + guest.stderr, f"{what}: out of step")
    return common


def kept(side):
    return sorted(os.path.join(side.replays, n) for n in os.listdir(side.replays))


def play_back(runner, path):
    folder = runner.fresh_folder()
    done = subprocess.run([runner.runner, "--replay", path, "--until", "400000"], cwd=folder,
                          capture_output=True, text=True, timeout=120)
    expect_eq(done.returncode, 0, f"playing back {path} ({done.stderr.strip()})")


def scenario_match(runner, args):
    # The guest leaves at 60 s, in the second match.
    host, guest, hs, gs = pair(runner, player_script(LEFT, quit_at=70000),
                               player_script(RIGHT, escape_at=60000, quit_at=70000), until=90000)
    expect_eq((host.status, guest.status), (0, 0), f"exit statuses\n{host.stderr}\n{guest.stderr}")
    in_step(host, guest, "match")
    ends = [{k: v for k, v in first_match(run)[-1].items() if k not in ("t", "n")}
            for run in (host, guest)]
    expect_eq(ends[1], ends[0], "the first match's end")
    # Each player steered their own paddle: the host's (bottom) went left,
    # the guest's (top) right, and each side saw both.
    for run in (host, guest):
        frames = first_match(run)
        expect(min(f["Paddle1"]["x"] for f in frames) < 250, "the host's paddle never went left")
        expect(max(f["Paddle2"]["x"] for f in frames) > 310, "the guest's paddle never went right")
    expect(any(t["text"] == LEFT_TEXT for t in host.of("text")), "the host was not told")
    expect(not any(t["text"] == LEFT_TEXT for t in guest.of("text")), "the leaver was told")
    host_kept, guest_kept = kept(hs), kept(gs)
    expect(len(host_kept) >= 2 and len(guest_kept) >= 2, "each match kept as a replay")
    with open(host_kept[0], "rb") as a, open(guest_kept[0], "rb") as b:
        expect(a.read() == b.read(), "the first match's replays differ")
    play_back(runner, host_kept[0])
    print("match: in step;", " ".join(f"{x:g}" for x in summary(host)))


def scenario_impaired(runner, args):
    impair = ["--net-impair", "delay=50,jitter=10,loss=5,seed=3"]
    guest_impair = ["--net-impair", "delay=50,jitter=10,loss=5,seed=4"]
    host, guest, _, _ = pair(runner, player_script(LEFT, quit_at=64000),
                             player_script(RIGHT, escape_at=56000, quit_at=64000), impair,
                             guest_impair, until=80000)
    expect_eq((host.status, guest.status), (0, 0), f"exit statuses\n{host.stderr}\n{guest.stderr}")
    in_step(host, guest, "impaired")
    first_match(host)
    for name, run in (("host", host), ("guest", guest)):
        frames, stalled, share, low, high, rtt, sent, received, refused = summary(run)
        print(f"impaired {name}: {frames:g} frames, {share:g} % stalled, delay {low:g}-{high:g}, "
              f"round trip {rtt:g} ms, {sent:g} B/s out, {received:g} B/s in")
        expect(rtt >= 70, f"{name}: the impairment did not show in the round trip ({rtt})")


def scenario_desync(runner, args):
    at = 150
    host, guest, hs, gs = pair(runner, player_script(LEFT, quit_at=20000),
                               player_script(RIGHT, quit_at=20000), ["--net-desync-at", str(at)],
                               until=40000)
    expect_eq((host.status, guest.status), (0, 0), f"exit statuses\n{host.stderr}\n{guest.stderr}")
    for name, run in (("host", host), ("guest", guest)):
        expect(any(t["text"] == OUT_OF_STEP for t in run.of("text")), f"{name} was not told")
        # Frames of the match after the one put out of step (the first frame
        # event is the match drawn before its first frame).
        frames = [f for f in run.frames() if f["GameMode"] == 2]
        played = len(frames) - 1
        expect(at + 1 <= played <= at + 1 + 5, f"{name} stopped after {played} frames, not within 5 of {at}")
    for side in (hs, gs):
        expect(len(kept(side)) == 1, "the match out of step was not kept")
    print(f"desync: both stopped within 5 frames of {at}")


def udp_garbage(port, count, seconds):
    """Random datagrams at the port, `count` over `seconds` at most."""
    rng = random.Random(5)
    end = time.monotonic() + seconds
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
        for i in range(count):
            if time.monotonic() > end:
                break
            s.sendto(bytes(rng.randrange(256) for _ in range(rng.randrange(1, 200))),
                     ("127.0.0.1", port))
            if i % 100 == 99:
                time.sleep(0.01)


def poke(args, *words):
    done = subprocess.run([args.poke] + [str(w) for w in words], capture_output=True, text=True,
                          timeout=60)
    return done.stdout.strip()


def scenario_hostile(runner, args):
    port = free_port()
    host = Side(runner, player_script(LEFT, quit_at=65000), ["--host", str(port)], 90000)
    time.sleep(0.5)
    # While it waits: garbage, and a game of another version.
    udp_garbage(port, 2000, 2)
    expect_eq(poke(args, "hello", port, "0.0.1", 1), "refused version", "another version")
    expect_eq(poke(args, "hello", port, args.version, 99), "refused version", "another protocol")
    guest = Side(runner, player_script(RIGHT, escape_at=52000, quit_at=65000),
                 ["--join", f"127.0.0.1:{port}"], 90000)
    time.sleep(8)
    # While it plays: a second guest, a flood of 10,000 messages a second
    # from a connected stranger, and raw garbage alongside.
    expect_eq(poke(args, "hello", port, args.version, 1), "refused full", "a second guest")
    flood = threading.Thread(target=poke, args=(args, "flood", port, 3, 10000))
    flood.start()
    udp_garbage(port, 20000, 3)
    while flood.is_alive():
        host.sample_memory()
        flood.join(0.2)
    for _ in range(20):
        host.sample_memory()
        time.sleep(0.1)
    host_run, guest_run = host.finish(), guest.finish()
    expect_eq((host_run.status, guest_run.status), (0, 0),
              f"exit statuses\n{host_run.stderr}\n{guest_run.stderr}")
    in_step(host_run, guest_run, "hostile")
    first_match(host_run)
    said = [l for l in host_run.stderr.splitlines() if "ignored" in l]
    expect(len(said) == len(set(said)) and len(said) <= 5, f"refusals said more than once:\n{said}")
    refused = summary(host_run)[8]
    expect(refused >= 100, f"only {refused:g} refusals counted")
    expect(host.peak_kb < 200 * 1024, f"the host grew to {host.peak_kb} KB")
    stall = summary(guest_run)[2]
    print(f"hostile: {refused:g} refused, host at most {host.peak_kb} KB, guest stalled {stall:g} %")


def scenario_refused(runner, args):
    port = free_port()
    fake = subprocess.Popen([args.poke, "host", str(port), "9.9.9"], stdout=subprocess.DEVNULL)
    time.sleep(0.3)
    folder = runner.fresh_folder()
    done = subprocess.run([runner.runner, "--skip-intro", "--join", f"127.0.0.1:{port}",
                           "--until", "60000"], cwd=folder, capture_output=True, text=True,
                          timeout=60)
    fake.wait(timeout=30)
    expect_eq(done.returncode, 3, "a refused join's status")
    expect("runs Volleen 9.9.9" in done.stderr and "same version" in done.stderr,
           f"the version was not said:\n{done.stderr}")
    started = time.monotonic()
    done = subprocess.run([runner.runner, "--skip-intro", "--join", f"127.0.0.1:{free_port()}",
                           "--until", "60000"], cwd=folder, capture_output=True, text=True,
                          timeout=60)
    waited = time.monotonic() - started
    expect_eq(done.returncode, 3, "an unanswered join's status")
    expect("no answer in 15 seconds" in done.stderr, f"no answer was not said:\n{done.stderr}")
    expect(14 <= waited <= 30, f"gave up after {waited:.1f} s")
    print(f"refused: version said; no answer after {waited:.1f} s")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("scenario")
    parser.add_argument("--runner", required=True)
    parser.add_argument("--poke", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--keep", action="store_true")
    args = parser.parse_args()
    runner = Runner(args.runner, args.data, keep=args.keep)
    try:
        globals()["scenario_" + args.scenario](runner, args)
    except Failure as failure:
        print(f"FAIL {args.scenario}: {failure}")
        return 1
    finally:
        runner.cleanup()
    return 0


if __name__ == "__main__":
    sys.exit(main())
