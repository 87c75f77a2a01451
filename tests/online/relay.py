"""A match through the relay on loopback: a runner makes a room, a second
joins it by its code, a third watches from the start and a fourth comes in
mid-match; all four play the same frames.

  relay.py --relay PATH --runner PATH --poke PATH --data DIR --version V
"""

import argparse
import os
import queue
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from online import (KEY_Q, LEFT, RIGHT, OUT_OF_STEP, Failure, Runner, Side, expect, expect_eq,  # noqa: E402
                    first_match, free_port, in_step, match_frames, player_script, summary)


def quit_script(at):
    return f"{at} key {KEY_Q} down\n{at + 100} key {KEY_Q} up"


def lines_of(stream, into):
    for line in stream:
        into.put(line.rstrip("\n"))


def wait_for(lines, prefix, seconds, what):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            line = lines.get(timeout=max(0.01, end - time.monotonic()))
        except queue.Empty:
            break
        if line.startswith(prefix):
            return line
    raise Failure(f"{what}: no '{prefix}' line in {seconds} s")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--relay", required=True)
    parser.add_argument("--runner", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--keep", action="store_true")
    args = parser.parse_args()
    runner = Runner(args.runner, args.data, keep=args.keep)
    port = free_port()
    relay = subprocess.Popen([args.relay, "--bind", "127.0.0.1", "--port", str(port)],
                             stdout=subprocess.PIPE, text=True)
    log = queue.Queue()
    threading.Thread(target=lines_of, args=(relay.stdout, log), daemon=True).start()
    try:
        wait_for(log, "volleen-relay: listening", 10, "the relay")
        at = ["--relay", f"127.0.0.1:{port}"]
        # The guest leaves at 62 s, in the second match.
        host = Side(runner, player_script(LEFT, quit_at=70000), ["--host"] + at, 90000,
                    stdout=subprocess.PIPE)
        said = queue.Queue()
        threading.Thread(target=lines_of, args=(host.process.stdout, said), daemon=True).start()
        code = wait_for(said, "room ", 15, "the host's room").split()[1]
        guest = Side(runner, player_script(RIGHT, escape_at=62000, quit_at=70000),
                     ["--join", code] + at, 90000)
        # The players quit at 70 s; the watchers, two seconds behind, after them.
        watcher = Side(runner, quit_script(78000), ["--watch", code.lower()] + at, 100000)
        time.sleep(15)
        late = Side(runner, quit_script(63000), ["--watch", code] + at, 85000)
        runs = [side.finish() for side in (host, guest, watcher, late)]
        statuses = [run.status for run in runs]
        expect_eq(statuses, [0, 0, 0, 0], "exit statuses\n" + "\n".join(r.stderr for r in runs))
        host_run, guest_run, watch_run, late_run = runs
        played = in_step(host_run, guest_run, "relay")
        expect(any(t["text"].startswith(f"Room {code} ") for t in host_run.of("text")),
               "the host's waiting screen did not show the room's code")
        first_match(host_run)
        # Every frame the players played, the watchers played the same, the
        # one who came late too: from the match's start, and to its end.
        everything = match_frames(host_run)
        for name, run in (("watcher", watch_run), ("late watcher", late_run)):
            seen = match_frames(run)
            # The players gave their inputs a couple of frames ahead of the
            # last frame they played: the watchers play those too.
            expect(0 <= len(seen) - len(everything) <= 10,
                   f"{name} played {len(seen)} frames, the players {len(everything)}")
            for i, (a, b) in enumerate(zip(everything, seen)):
                if a != b:
                    raise Failure(f"{name}: frame {i} differs:\n host    {a}\n watcher {b}")
            expect(OUT_OF_STEP not in run.stderr, f"{name}: out of step")
            expect(any(t["text"] == "The players have left" for t in run.of("text")),
                   f"{name} was not told the players left")
        relay.terminate()
        relay.wait(timeout=10)
        events = []
        while not log.empty():
            events.append(log.get())
        for word in ("opened", "joined", "watcher", "closed"):
            expect(any(f"room {code}" in e and word in e for e in events),
                   f"the relay's log has no '{word}' line for room {code}:\n" + "\n".join(events))
        expect_eq(relay.returncode, 0, "the relay's exit status")
        print(f"relay: room {code}, {played} frames in step on four runners;",
              " ".join(f"{x:g}" for x in summary(host_run)))
    except Failure as failure:
        print(f"FAIL relay: {failure}")
        return 1
    finally:
        if relay.poll() is None:
            relay.kill()
        runner.cleanup()
    return 0


if __name__ == "__main__":
    sys.exit(main())
