#!/usr/bin/env python3
"""One room through a real relay on loopback: `relay_poke play` is host
(UDP), guest (WebSocket), watcher and a refused third player; then GET
/status, a 404, a bad limits file, and SIGTERM ending the relay with
status 0."""
import argparse
import json
import os
import signal
import subprocess
import sys
import tempfile
import urllib.error
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from relay_run import free_port  # noqa: E402


def fail(message, relay=None):
    if relay is not None:
        relay.kill()
        print(relay.stdout.read(), file=sys.stderr)
    sys.exit("smoke: " + message)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--relay", required=True)
    parser.add_argument("--poke", required=True)
    args = parser.parse_args()

    with tempfile.NamedTemporaryFile("w", suffix=".conf", delete=False) as bad:
        bad.write("max_rooms = 10\nmax_watchers = 3\n")
    refused = subprocess.run([args.relay, "--config", bad.name], capture_output=True, text=True, timeout=10)
    os.unlink(bad.name)
    if refused.returncode != 2 or "line 2" not in refused.stderr:
        fail("a bad limits file was not refused by its line: " + refused.stderr)

    port = free_port()
    relay = subprocess.Popen([args.relay, "--bind", "127.0.0.1", "--port", str(port)],
                             stdout=subprocess.PIPE, text=True)
    try:
        check(args, relay, port)
    finally:
        if relay.poll() is None:
            relay.kill()
            relay.wait()
    print("smoke: a room played through the relay")


def check(args, relay, port):
    first = relay.stdout.readline()
    if first.strip() != f"volleen-relay: listening on 127.0.0.1 port {port}":
        fail("no listening line: " + first, relay)

    played = subprocess.run([args.poke, "play", str(port)], capture_output=True, text=True, timeout=60)
    if played.returncode != 0 or played.stdout.strip() != "ok":
        fail("the room did not play through: " + played.stderr, relay)

    with urllib.request.urlopen(f"http://127.0.0.1:{port}/status", timeout=5) as answer:
        status = json.loads(answer.read())
    keys = {"rooms", "players", "watchers", "peers", "messages_per_second", "bytes_per_second",
            "uptime_seconds"}
    if set(status) != keys or status["rooms"] != 1:
        fail(f"a wrong status: {status}", relay)
    try:
        urllib.request.urlopen(f"http://127.0.0.1:{port}/nothing", timeout=5)
        fail("no 404 for another path", relay)
    except urllib.error.HTTPError as error:
        if error.code != 404:
            fail(f"{error.code} for another path", relay)

    relay.send_signal(signal.SIGTERM)
    try:
        code = relay.wait(timeout=5)
    except subprocess.TimeoutExpired:
        fail("the relay did not end on SIGTERM", relay)
    log = relay.stdout.read()
    if code != 0:
        fail(f"the relay ended with {code}:\n{log}")
    for line in ("opened (udp 127.0.0.1:", "joined (ws 127.0.0.1:", "watcher (udp", "is full",
                 "closing:"):
        if line not in log:
            fail(f"no '{line}' in the log:\n{log}")


if __name__ == "__main__":
    main()
