#!/usr/bin/env python3
"""The real game in a real window under Xvfb, driven with xdotool: the menu,
a two-player rally on held keys, Escape, new keys, the music switch and Q
through the credits. Checks the exit status and keys.dat.

  window.py --game PATH --data DIR [--shots DIR]"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

KEYS_AFTER = bytes([36, 0, 0, 0, 37, 0, 0, 0, 200, 0, 0, 0, 208, 0, 0, 0, 0, 0, 0, 0])


def free_display():
    for number in range(91, 140):
        if not os.path.exists(f"/tmp/.X{number}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{number}"):
            return number
    raise RuntimeError("no free X display number")


class Session:
    def __init__(self, shots):
        self.number = free_display()
        self.display = f":{self.number}"
        self.shots = shots
        self.xvfb = subprocess.Popen(["Xvfb", self.display, "-screen", "0", "800x600x24", "-nolisten", "tcp"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.env = dict(os.environ, DISPLAY=self.display)
        for _ in range(100):
            if os.path.exists(f"/tmp/.X11-unix/X{self.number}"):
                break
            time.sleep(0.05)
        else:
            raise RuntimeError("Xvfb did not start")

    def key(self, name, hold=0.12):
        # Held for a moment: the game reads the keyboard's state, so a press
        # and release inside one read would never be seen.
        subprocess.run(["xdotool", "keydown", name], env=self.env, check=True)
        time.sleep(hold)
        subprocess.run(["xdotool", "keyup", name], env=self.env, check=True)

    def shot(self, name):
        if not self.shots:
            return
        os.makedirs(self.shots, exist_ok=True)
        xwd = subprocess.run(["xwd", "-root", "-silent", "-display", self.display], capture_output=True)
        subprocess.run(["convert", "xwd:-", os.path.join(self.shots, name + ".png")], input=xwd.stdout)

    def close(self):
        self.xvfb.terminate()
        try:
            self.xvfb.wait(5)
        except subprocess.TimeoutExpired:
            self.xvfb.kill()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--game", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--shots")
    args = parser.parse_args()

    folder = tempfile.mkdtemp(prefix="volleen-window-")
    for name in os.listdir(args.data):
        if os.path.isfile(os.path.join(args.data, name)) and name != "keys.dat" and not name.startswith("."):
            shutil.copy(os.path.join(args.data, name), folder)

    session = Session(args.shots)
    game = None
    try:
        game = subprocess.Popen([args.game], cwd=folder, env=session.env,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        time.sleep(4)
        session.shot("1-logo")
        time.sleep(10)                          # two logos of 5 s and their fades
        session.shot("2-menu")
        session.key("2")                        # two players
        time.sleep(1.6)
        session.shot("3-match")
        session.key("space")                    # serve
        session.key("Left", hold=0.5)           # Player 1 left, held
        session.key("a", hold=0.3)              # Player 2 left, held
        time.sleep(0.5)
        session.shot("4-rally")
        session.key("Escape")                   # back to the menu
        time.sleep(1.8)
        session.key("c")                        # new keys
        time.sleep(1.6)
        for name in ("j", "k", "Up", "Down"):
            session.key(name)
            time.sleep(0.5)
        session.shot("5-keys")
        session.key("Escape")
        time.sleep(0.5)
        session.key("m")                        # music off
        time.sleep(0.5)
        session.shot("6-menu-again")
        session.key("q")
        time.sleep(3)
        session.shot("7-credits")
        try:
            output, _ = game.communicate(timeout=25)
        except subprocess.TimeoutExpired:
            session.shot("timeout")
            game.kill()
            output, _ = game.communicate()
            print(f"window: the game did not end after Q\n{output}", file=sys.stderr)
            return 1
        if game.returncode != 0:
            print(f"window: exit status {game.returncode}\n{output}", file=sys.stderr)
            return 1
        keys = open(os.path.join(folder, "keys.dat"), "rb").read() if os.path.exists(
            os.path.join(folder, "keys.dat")) else None
        if keys != KEYS_AFTER:
            print(f"window: keys.dat is {keys!r}, wanted {KEYS_AFTER!r}\n{output}", file=sys.stderr)
            return 1
        print("window: passed")
        return 0
    finally:
        if game and game.poll() is None:
            game.kill()
        session.close()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
