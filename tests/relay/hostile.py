"""Hostile clients against the relay on loopback while an honest room plays.

  hostile.py --relay PATH --poke PATH --load PATH

One room of two players (relay_load) sends a game's 30 Inputs a second each
way for 40 s. Meanwhile relay_poke and raw datagrams throw at the relay
everything a stranger could: random bytes over UDP, ENet and WebSocket,
messages too long for it, a thousand connections from one address over
each, a join to no room, a watcher sending inputs, a peer that never speaks,
a guest that never reads, a sender over the rate, a request with a huge
header. Every attack must get its refusal; the honest room must lose nothing
and keep its latency; the relay must stay up, answer GET /status and keep
its memory bounded.
"""

import argparse
import json
import os
import random
import re
import socket
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from relay_run import Relay, wait_for  # noqa: E402

# Tighter than the defaults where that keeps the test short. The rate is
# higher: on loopback the kernel takes about 4 MB for a socket that is not
# read before the relay's own queue holds a byte, and only a fast sender
# gets past that within the test (a player at 30 a second is far below).
LIMITS = {
    "max_connections_per_address": 16,
    "hello_timeout_s": 3,
    "max_queued_bytes": 16384,
    "max_messages_per_second": 3000,
    "max_message_burst": 6000,
}
SLOW_RATE = 2500
FAST_RATE = 20000
HONEST_SECONDS = 40
# The honest room's one-way latency through the relay, p99, under attack.
# Measured on the shared 2-core machine: 3 to 15 ms under attack (the floods
# and the thousand connections take the relay's one thread for moments),
# 1 ms alone when the machine is quiet, 11 ms alone when it is busy. So the
# bound is a third of a frame, or three times the room alone (measured
# first, for a few seconds) and 2 ms where the machine is busier than that,
# but never a frame. A relay that stalls for the attackers gives hundreds.
# The worst moments seen: about 50 ms while a thousand WebSocket connections
# come at once, about 40 ms under the flood of 20,000 messages a second.
P99_MS = 10.0
FRAME_MS = 33.0
BASELINE_SECONDS = 8
# Memory after all of it, against memory at start: the attacks come and go,
# the relay must give back what they took (or never take it).
RSS_FACTOR, RSS_SLACK_KB = 2, 8 * 1024


class Checks:
    def __init__(self):
        self.failures = []

    def expect(self, condition, what):
        print(("ok    " if condition else "FAIL  ") + what, flush=True)
        if not condition:
            self.failures.append(what)


HONEST_START = [0.0]


def poke(args, *words, timeout=30):
    print(f"      at {time.monotonic() - HONEST_START[0]:.1f} s:", flush=True)
    done = subprocess.run([args.poke] + [str(w) for w in words], capture_output=True, text=True,
                          timeout=timeout)
    out = (done.stdout.strip() + " " + done.stderr.strip()).strip()
    print(f"      relay_poke {' '.join(str(w) for w in words)}: {out}", flush=True)
    return done.stdout.strip()


def raw_datagrams(port, count=3000):
    """Random datagrams straight at the UDP port: nothing ENet would send."""
    rng = random.Random(5)
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
        for i in range(count):
            s.sendto(bytes(rng.getrandbits(8) for _ in range(rng.randint(1, 1400))),
                     ("127.0.0.1", port))
            if i % 100 == 0:
                time.sleep(0.01)


def counts(line):
    """'rooms 16 dropped 0 silent 0 refused OverLimit 984' as a dict."""
    words = line.replace("refused", "").split()
    return {words[i]: int(words[i + 1]) for i in range(0, len(words) - 1, 2)}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--relay", required=True)
    parser.add_argument("--poke", required=True)
    parser.add_argument("--load", required=True)
    args = parser.parse_args()
    checks = Checks()
    started = time.monotonic()
    folder = tempfile.mkdtemp(prefix="relay_hostile_")
    relay = Relay(args.relay, folder, LIMITS)
    port = relay.port
    time.sleep(1)
    rss_start = relay.rss_kb()
    print(f"      relay RSS at start: {rss_start} kB")
    rss_peak = [rss_start]
    sampling = threading.Event()

    def sample():
        while not sampling.wait(0.2) and relay.alive():
            rss_peak[0] = max(rss_peak[0], relay.rss_kb())

    threading.Thread(target=sample, daemon=True).start()

    baseline = subprocess.run([args.load, "--relay", f"127.0.0.1:{port}", "--rooms", "1",
                               "--seconds", str(BASELINE_SECONDS), "--first-address", "3"],
                              capture_output=True, text=True, timeout=BASELINE_SECONDS + 30)
    print(f"      the room alone: {baseline.stdout.strip()}")
    alone = json.loads(baseline.stdout) if baseline.stdout.startswith("{") else {}
    alone_p99 = alone.get("latency_ms", {}).get("p99", 0)
    checks.expect(alone.get("lost") == 0 and alone.get("rooms_held") == 1,
                  "the room alone: held, nothing lost")
    honest = subprocess.Popen([args.load, "--relay", f"127.0.0.1:{port}", "--rooms", "1",
                               "--seconds", str(HONEST_SECONDS), "--first-address", "2"],
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    HONEST_START[0] = time.monotonic()
    time.sleep(1)
    # Never speaks: dropped after hello_timeout_s, while the rest goes on.
    silent = subprocess.Popen([args.poke, "silent", str(port), "10"], stdout=subprocess.PIPE,
                              text=True)

    raw_datagrams(port)
    checks.expect(relay.alive(), "the relay lives through random datagrams")
    checks.expect(poke(args, "garbage", port) == "refused NotAllowed",
                  "ENet random bytes: refused NotAllowed")
    checks.expect(poke(args, "ws-garbage", port) == "refused NotAllowed",
                  "WebSocket random bytes: refused NotAllowed")
    said = poke(args, "oversize", port, 600)
    checks.expect(said in ("refused OverLimit", "refused NotAllowed", "dropped"),
                  "ENet message of 600 bytes: refused or dropped")
    # Past the relay's largest ENet packet, ENet throws the pieces away
    # unread: the peer has said nothing, and goes as a silent one does.
    said = poke(args, "oversize", port, 4000)
    checks.expect(said in ("refused OverLimit", "refused NotAllowed", "dropped", "refused Idle"),
                  "ENet message of 4000 bytes: refused or dropped")
    for size in (600, 100000):
        said = poke(args, "ws-oversize", port, size)
        checks.expect(said in ("refused OverLimit", "refused NotAllowed", "dropped"),
                      f"WebSocket message of {size} bytes: refused or dropped")
    checks.expect(poke(args, "protocol", port) == "refused Protocol",
                  "a Room of another protocol: refused Protocol")
    checks.expect(poke(args, "nosuch", port) == "refused NoSuchRoom",
                  "a join to no room: refused NoSuchRoom")
    checks.expect(poke(args, "watcher-inputs", port) == "watching; refused NotAllowed",
                  "a watcher sending inputs: refused NotAllowed")
    fast = re.fullmatch(r"after (\d+) messages: refused OverLimit",
                        poke(args, "fast", port, FAST_RATE, 5))
    checks.expect(fast is not None and int(fast.group(1)) < FAST_RATE,
                  f"{FAST_RATE} messages a second: refused OverLimit within the first second")
    limit = LIMITS["max_connections_per_address"]
    for mode, address in (("many", "127.0.0.9"), ("ws-many", "127.0.0.10")):
        tally = counts(poke(args, mode, port, address, 1000))
        rooms = tally.get("rooms", 0)
        checks.expect(1 <= rooms <= limit and
                      tally.get("OverLimit", 0) + tally.get("dropped", 0) == 1000 - rooms,
                      f"{mode}: 1000 connections from one address, at most {limit} served, "
                      "the rest refused OverLimit or dropped")
    slow = re.fullmatch(r"guest let go after ([\d.]+) s, (\d+) bytes sent",
                        poke(args, "ws-slow", port, 20, SLOW_RATE))
    checks.expect(slow is not None and wait_for(
        lambda: any("slow reader" in line and line.startswith("dropped ws") for line in relay.log),
        2), "a WebSocket guest that never reads is dropped as a slow reader")
    headers = poke(args, "ws-headers", port, 16000)
    checks.expect(re.fullmatch(r"status 4\d\d|closed.*", headers) is not None,
                  "a request with 16000 bytes of header is refused")

    said = silent.communicate(timeout=30)[0].strip()
    print(f"      relay_poke silent {port} 10: {said}")
    quiet = re.fullmatch(r"after ([\d.]+) s: refused Idle", said)
    checks.expect(quiet is not None and 2.5 <= float(quiet.group(1)) <= 6,
                  "a peer that never speaks: refused Idle after hello_timeout_s")

    out, err = honest.communicate(timeout=HONEST_SECONDS + 60)
    print(f"      honest room: {out.strip()} {err.strip()}")
    print("      (the honest room's seconds count from its start, less its set-up)")
    summary = json.loads(out) if out.strip().startswith("{") else {}
    checks.expect(summary.get("rooms_held") == 1, "the honest room held throughout")
    checks.expect(summary.get("sent", 0) > HONEST_SECONDS * 55 and summary.get("lost") == 0,
                  "the honest room lost no message")
    p99 = summary.get("latency_ms", {}).get("p99", 1e9)
    bound = min(FRAME_MS, max(P99_MS, 3 * alone_p99 + 2))
    checks.expect(p99 < bound, f"the honest room's p99 latency under attack {p99} ms < {bound:.1f} ms "
                  f"(alone {alone_p99} ms)")

    try:
        with urllib.request.urlopen(f"http://127.0.0.1:{port}/status", timeout=5) as answer:
            status = json.loads(answer.read(4096))
    except (OSError, ValueError) as error:
        status = {"error": str(error)}
    print(f"      GET /status: {status}")
    checks.expect("rooms" in status and "peers" in status, "GET /status still answers")

    rss_end = relay.rss_kb() if relay.alive() else 0
    sampling.set()
    bound = RSS_FACTOR * rss_start + RSS_SLACK_KB
    print(f"      relay RSS: {rss_start} kB at start, {rss_peak[0]} kB at most, {rss_end} kB at "
          f"the end (bound {bound} kB)")
    checks.expect(0 < rss_end <= bound and rss_peak[0] <= bound, "the relay's memory stays bounded")
    checks.expect(relay.alive(), "the relay is up at the end")
    checks.expect(relay.stop() == 0, "SIGTERM: the relay exits 0")
    dropped = [l for l in relay.log if l.startswith("dropped")]
    print(f"      {len(relay.log)} log lines, {len(dropped)} of drops; the last few:")
    checks.expect(len(relay.log) < 500, "the relay's log stays short under the floods")
    for line in relay.log[-5:]:
        print(f"        {line}")
    print(f"{len(checks.failures)} failed, in {time.monotonic() - started:.0f} s")
    return 1 if checks.failures else 0


if __name__ == "__main__":
    sys.exit(main())
