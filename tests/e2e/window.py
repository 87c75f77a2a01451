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

    def screen(self):
        return subprocess.run(["xwd", "-root", "-silent", "-display", self.display],
                              capture_output=True).stdout

    def wait_new_screen(self, what, before, timeout=40):
        """Waits until the screen differs from `before` and holds still (two
        looks alike in a row). The pace of the real window (fades, presenting)
        depends on the machine, so the test waits for what the screen shows,
        not for a time."""
        end = time.time() + timeout
        previous = None
        while time.time() < end:
            current = self.screen()
            if current != before and current == previous:
                return current
            previous = current
            time.sleep(0.15)
        self.shot("timeout-" + what.replace(" ", "-"))
        raise TimeoutError(f"waited {timeout} s for {what}")

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
    parser.add_argument("--shots", help="keep screenshots of each step here")
    args = parser.parse_args()
    args.game = os.path.abspath(args.game)

    folder = tempfile.mkdtemp(prefix="volleen-window-")
    for name in os.listdir(args.data):
        if os.path.isfile(os.path.join(args.data, name)) and name != "keys.dat" and not name.startswith("."):
            shutil.copy(os.path.join(args.data, name), folder)

    session = Session(args.shots)
    game = None
    log = None
    try:
        log = open(os.path.join(folder, "game-output.txt"), "w+")
        game = subprocess.Popen([args.game], cwd=folder, env=session.env, stdout=log, stderr=log)
        keys_path = os.path.join(folder, "keys.dat")
        time.sleep(3)
        session.shot("1-logo")
        # M does something only in the menu, where it writes keys.dat: press
        # it until the file appears, and the menu is known to be up.
        deadline = time.time() + 60
        while not os.path.exists(keys_path):
            if time.time() > deadline or game.poll() is not None:
                raise TimeoutError("the menu never took M")
            session.key("m")
            time.sleep(0.5)
        session.shot("2-menu")
        menu = session.screen()
        session.key("2")                        # two players
        match = session.wait_new_screen("the match", menu)
        session.shot("3-match")
        session.key("space")                    # serve
        session.key("Left", hold=0.5)           # Player 1 left, held
        session.key("a", hold=0.3)              # Player 2 left, held
        session.shot("4-rally")
        session.key("Escape")                   # back to the menu
        time.sleep(0.3)
        menu = session.wait_new_screen("the menu", match)
        session.key("c")                        # new keys
        keys = session.wait_new_screen("the key screen", menu)
        for name in ("j", "k", "Up", "Down"):
            session.key(name)
            keys = session.wait_new_screen(f"the name of {name}", keys, timeout=10)
        session.shot("5-keys")
        session.key("Escape")
        menu = session.wait_new_screen("the menu with the new keys", keys)
        session.shot("6-menu-again")
        session.key("q")
        session.wait_new_screen("the credits", menu)
        session.shot("7-credits")
        try:
            game.wait(timeout=30)
        except subprocess.TimeoutExpired:
            raise TimeoutError("the game did not end after Q")
        log.seek(0)
        output = log.read()
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
    except TimeoutError as error:
        output = ""
        if log:
            log.seek(0)
            output = log.read()
        print(f"window: FAILED: {error}\n{output}", file=sys.stderr)
        return 1
    finally:
        if game and game.poll() is None:
            game.kill()
        session.close()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
