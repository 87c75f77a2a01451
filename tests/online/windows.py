#!/usr/bin/env python3
"""Two real games online, each in its own Xvfb display, driven with xdotool:
one hosts, one joins 127.0.0.1. Both screens show the same match; keys on
one move its paddle on the other's screen; Escape on the guest is "The other
player has left" on the host; Q then quits both.

  windows.py --game PATH --data DIR [--shots DIR]"""

import argparse
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from window import Session  # noqa: E402

# The top and bottom paddles' rows, and the message's, on the display: the
# 640 x 480 window sits in its middle.
TOP = 60
TOP_ROWS = range(TOP + 18, TOP + 34)
BOTTOM_ROWS = range(TOP + 446, TOP + 462)
MESSAGE_ROWS = range(TOP + 258, TOP + 280)


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


SCREEN_WIDTH = 800  # the displays Session makes are 800 x 600


def pixels(session):
    """The display as rows of RGB bytes (width, height, data)."""
    xwd = session.screen()
    rgb = subprocess.run(["convert", "xwd:-", "-depth", "8", "rgb:-"], input=xwd,
                         capture_output=True).stdout
    return SCREEN_WIDTH, len(rgb) // (3 * SCREEN_WIDTH), rgb


def rows(picture, wanted):
    width, _, data = picture
    return b"".join(data[y * width * 3:(y + 1) * width * 3] for y in wanted)


def game_picture(picture):
    return rows(picture, range(TOP, TOP + 480))


def wait_still(session, what, timeout=40):
    end = time.time() + timeout
    previous = None
    while time.time() < end:
        current = pixels(session)
        if previous is not None and current == previous:
            return current
        previous = current
        time.sleep(0.3)
    session.shot("timeout-" + what)
    raise TimeoutError(f"waited {timeout} s for {what}")


def start(session, game, folder, args, log_name):
    log = open(os.path.join(folder, log_name), "w+")
    env = dict(session.env, HOME=folder, XDG_CONFIG_HOME=folder, XDG_DATA_HOME=folder)
    process = subprocess.Popen([game, "--window", "--skip-intro"] + args, cwd=folder, env=env,
                               stdout=log, stderr=log)
    return process, log


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--game", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--shots")
    args = parser.parse_args()
    game = os.path.abspath(args.game)
    folders = []
    for _ in range(2):
        folder = tempfile.mkdtemp(prefix="volleen-online-window-")
        for name in os.listdir(args.data):
            path = os.path.join(args.data, name)
            if os.path.isfile(path) and name != "keys.dat" and not name.startswith("."):
                shutil.copy(path, folder)
        folders.append(folder)

    host_screen = Session(args.shots)
    guest_screen = Session(args.shots)
    processes, logs = [], []
    status = 1
    try:
        port = free_port()
        host, log = start(host_screen, game, folders[0], ["--host", str(port)], "host.txt")
        processes.append(host)
        logs.append(log)
        time.sleep(1)
        guest, log = start(guest_screen, game, folders[1], ["--join", f"127.0.0.1:{port}"], "guest.txt")
        processes.append(guest)
        logs.append(log)

        # Both show the match, waiting for the host's serve: the same picture.
        time.sleep(4)
        first_host = wait_still(host_screen, "the host's match")
        first_guest = wait_still(guest_screen, "the guest's match")
        host_screen.shot("online-1-host")
        guest_screen.shot("online-1-guest")
        check(game_picture(first_host) == game_picture(first_guest), "the two screens differ at the start")

        # The guest's right key moves the top paddle on the host's screen.
        guest_screen.key("Right", hold=0.6)
        moved = wait_still(host_screen, "the guest's paddle")
        check(rows(moved, TOP_ROWS) != rows(first_host, TOP_ROWS), "the guest's paddle did not move on the host")
        check(rows(moved, BOTTOM_ROWS) == rows(first_host, BOTTOM_ROWS), "the host's paddle moved by itself")
        # The host's left key moves the bottom paddle on the guest's screen.
        host_screen.key("Left", hold=0.6)
        moved_guest = wait_still(guest_screen, "the host's paddle")
        check(rows(moved_guest, BOTTOM_ROWS) != rows(first_guest, BOTTOM_ROWS),
              "the host's paddle did not move on the guest")
        moved_host = wait_still(host_screen, "the host's own paddle")
        host_screen.shot("online-2-host")
        guest_screen.shot("online-2-guest")
        check(game_picture(moved_host) == game_picture(moved_guest), "the two screens differ after the moves")

        # Escape on the guest: the host is told.
        guest_screen.key("Escape")
        deadline = time.time() + 10
        told = False
        while time.time() < deadline and not told:
            picture = pixels(host_screen)
            told = rows(picture, MESSAGE_ROWS) != rows(moved_host, MESSAGE_ROWS)
            time.sleep(0.1)
        host_screen.shot("online-3-host-told")
        check(told, "nothing was said on the host's screen")
        logs[0].flush()
        with open(os.path.join(folders[0], "host.txt")) as f:
            check("The other player has left" in f.read(), "the host's game did not say why")

        # Both are back at the menu: Q quits each.
        time.sleep(5)
        for screen, process in ((host_screen, host), (guest_screen, guest)):
            screen.key("q")
            process.wait(timeout=30)
            check(process.returncode == 0, f"exit status {process.returncode}")
        print("online windows: same screens, paddles moved across, the leave told, both quit 0")
        status = 0
    except (AssertionError, TimeoutError) as failure:
        print(f"FAIL: {failure}")
        for folder, name in ((folders[0], "host.txt"), (folders[1], "guest.txt")):
            with open(os.path.join(folder, name)) as f:
                print(f"--- {name}\n{f.read()}")
    finally:
        for process in processes:
            if process.poll() is None:
                process.kill()
        for log in logs:
            log.close()
        host_screen.close()
        guest_screen.close()
        for folder in folders:
            shutil.rmtree(folder, ignore_errors=True)
    return status


if __name__ == "__main__":
    sys.exit(main())
