#!/usr/bin/env python3
"""Online play on loopback, impaired: the input delay each side chose, the
share of frames that waited for the other side, and the bytes a second
each way, at round trips of 0, 50, 100 and 200 ms with 0, 5 and 20 % loss
(and 10 ms of jitter each way where there is delay). Two runners play about
20 s of a match for each; every run is bounded in time and stops by itself.

  online_bench.py --runner PATH --data DIR [--seconds N]"""

import argparse
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time

SUMMARY = re.compile(r"online: (\d+) frames, (\d+) stalled \(([\d.]+) %\), input delay (\d+) "
                     r"to (\d+) frames, round trip (\d+) ms, sent (\d+) B/s, received (\d+) B/s")
LEFT, RIGHT, SPACE, ESCAPE, KEY_Q = 203, 205, 57, 1, 16


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def script(folder, hold, seconds, leave):
    """Serves and leans now and then; the guest leaves after `seconds`, and
    both quit from the menu."""
    end = seconds * 1000
    lines = []
    for ms in range(2000, end, 700):
        lines += [(ms, f"key {SPACE} down"), (ms + 40, f"key {SPACE} up")]
    for ms in range(3000, end, 2300):
        lines += [(ms, f"key {hold} down"), (ms + 400, f"key {hold} up")]
    if leave:
        lines += [(end, f"key {ESCAPE} down"), (end + 50, f"key {ESCAPE} up")]
    lines += [(end + 5000, f"key {KEY_Q} down"), (end + 5100, f"key {KEY_Q} up")]
    path = os.path.join(folder, "script.txt")
    with open(path, "w") as f:
        f.write("".join(f"{ms} {what}\n" for ms, what in sorted(lines)))
    return path


def fresh(data):
    folder = tempfile.mkdtemp(prefix="volleen-online-bench-")
    for name in os.listdir(data):
        path = os.path.join(data, name)
        if os.path.isfile(path) and name != "keys.dat":
            shutil.copy(path, folder)
    return folder


def play(args, round_trip, loss, seed):
    impair = f"delay={round_trip // 2},jitter={10 if round_trip else 0},loss={loss}"
    port = free_port()
    runs = []
    for n, (role, hold) in enumerate(((["--host", str(port)], LEFT),
                                      (["--join", f"127.0.0.1:{port}"], RIGHT))):
        folder = fresh(args.data)
        command = [args.runner, "--skip-intro", "--script",
                   script(folder, hold, args.seconds, leave=n == 1),
                   "--until", str((args.seconds + 30) * 1000),
                   "--net-impair", f"{impair},seed={seed + n}"] + role
        runs.append((subprocess.Popen(command, cwd=folder, stdout=subprocess.DEVNULL,
                                      stderr=subprocess.PIPE, text=True), folder))
        time.sleep(0.3)
    results = []
    for process, folder in runs:
        stderr = process.communicate(timeout=args.seconds + 60)[1]
        shutil.rmtree(folder, ignore_errors=True)
        found = SUMMARY.search(stderr)
        if not found:
            sys.exit(f"no summary at {round_trip} ms, {loss} %:\n{stderr}")
        results.append([float(x) for x in found.groups()] + ["out of step" in stderr])
    return results


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runner", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--seconds", type=int, default=20)
    args = parser.parse_args()
    args.runner = os.path.abspath(args.runner)
    print("online on loopback, impaired in the runner (host / guest)")
    print(f"{'round trip':>10} {'loss':>5} {'measured':>9} {'delay':>9} {'stalled %':>13} "
          f"{'out B/s':>11} {'in step':>8}")
    seed = 1
    for round_trip in (0, 50, 100, 200):
        for loss in (0, 5, 20):
            host, guest = play(args, round_trip, loss, seed)
            seed += 2
            print(f"{round_trip:>8} ms {loss:>4}% {host[5]:>5.0f} ms "
                  f"{host[3]:>2.0f}-{host[4]:.0f}/{guest[3]:.0f}-{guest[4]:.0f} "
                  f"{host[2]:>6.2f}/{guest[2]:<6.2f} {host[6]:>5.0f}/{guest[6]:<5.0f} "
                  f"{'no' if host[8] or guest[8] else 'yes':>8}", flush=True)


if __name__ == "__main__":
    main()
