#!/usr/bin/env python3
"""The Windows zip under wine.

  windows.py unpack --zip ZIP --into DIR
      unzips a fresh copy of the game into DIR/game and readies the wine
      prefix ($WINEPREFIX): what the other tests start from
  windows.py golden --game DIR --native-runner PATH --data DIR --script FILE
      the golden match, with shots taken along the way, through the Windows
      runner and the native one: the traces and the shots are the same bytes

Exit status 0 when it holds, 1 with the reason on stderr."""

import argparse
import filecmp
import os
import shutil
import subprocess
import sys
import tempfile
import zipfile

# Pictures taken along the golden match, from the title to its last seconds.
SHOTS = {ms: f"at{ms}.bmp" for ms in (5000, 20000, 60000, 121000)}


def fail(message):
    print(f"windows: FAILED: {message}", file=sys.stderr)
    sys.exit(1)


def unpack(args):
    if not os.path.isfile(args.zip):
        fail(f"no {args.zip}: `make windows` builds it (`make test` does so first)")
    game = os.path.join(args.into, "game")
    shutil.rmtree(game, ignore_errors=True)
    os.makedirs(game)
    with zipfile.ZipFile(args.zip) as archive:
        archive.extractall(game)
    tops = os.listdir(game)
    if len(tops) != 1:
        fail(f"the zip should hold one folder, not {tops}")
    folder = os.path.join(game, tops[0])
    for needed in ("volleen.exe", "volleen-headless.exe", "SDL2.dll", "SDL2_ttf.dll", "README.txt",
                   "DejaVuSans-Bold.ttf", "FONT-LICENSE.txt", os.path.join("data", "TITLE8.BMP")):
        if not os.path.isfile(os.path.join(folder, needed)):
            fail(f"{needed} is missing from the zip")
    # A zip is unpacked on Windows without permission bits.
    for name in os.listdir(folder):
        os.chmod(os.path.join(folder, name), 0o755 if name.endswith((".exe", ".dll")) else 0o644)
    os.symlink(tops[0], os.path.join(game, "current"))
    done = subprocess.run(["wineboot", "-i"], capture_output=True, text=True, timeout=300)
    if done.returncode != 0:
        fail(f"wineboot: {done.stderr.strip()}")
    print(f"windows: {folder} unpacked, wine prefix {os.environ.get('WINEPREFIX')} ready")


def play(command, folder, script):
    """Runs one runner on `script` in a fresh copy of the data in `folder`."""
    with open(os.path.join(folder, "script.txt"), "w") as f:
        f.write(script)
    done = subprocess.run(command + ["--script", "script.txt", "--trace", "trace.jsonl",
                                     "--shots", "shots", "--until", "300000"],
                          cwd=folder, capture_output=True, text=True, timeout=600)
    if done.returncode != 0:
        fail(f"{command[-1]} exited {done.returncode}: {done.stderr.strip()}")
    with open(os.path.join(folder, "trace.jsonl"), "rb") as f:
        return f.read()


def golden(args):
    with open(args.script) as f:
        lines = [line for line in f.read().splitlines() if line.strip()]
    lines += [f"{ms} shot {name}" for ms, name in SHOTS.items()]
    lines.sort(key=lambda line: int(line.split()[0]))
    script = "\n".join(lines) + "\n"

    work = tempfile.mkdtemp(prefix="volleen-windows-")
    try:
        traces = {}
        for side in ("native", "windows"):
            folder = os.path.join(work, side)
            shutil.copytree(args.data, folder, ignore=shutil.ignore_patterns("keys.dat", ".*"))
            command = [args.native_runner]
            if side == "windows":
                command = ["wine", os.path.join(args.game, "volleen-headless.exe")]
            traces[side] = play(command, folder, script)
        native, windows = traces["native"], traces["windows"]
        if b"\r" in windows:
            fail("the Windows trace has carriage returns")
        if native != windows:
            a, b = native.split(b"\n"), windows.split(b"\n")
            line = next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))
            fail(f"the traces differ at line {line + 1}:\n  native:  {a[line:line + 1]}\n"
                 f"  windows: {b[line:line + 1]}")
        shots = [os.path.join(work, side, "shots") for side in ("native", "windows")]
        names = sorted(SHOTS.values())
        if sorted(os.listdir(shots[0])) != names or sorted(os.listdir(shots[1])) != names:
            fail(f"the shots are not {names}: {os.listdir(shots[0])}, {os.listdir(shots[1])}")
        _, mismatch, errors = filecmp.cmpfiles(shots[0], shots[1], names, shallow=False)
        if mismatch or errors:
            fail(f"these shots differ: {mismatch + errors}")
        count = native.count(b"\n")
        print(f"windows golden: {count} trace lines and {len(names)} shots, the same bytes")
    finally:
        shutil.rmtree(work, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    sub = parser.add_subparsers(dest="command", required=True)
    p = sub.add_parser("unpack")
    p.add_argument("--zip", required=True)
    p.add_argument("--into", required=True)
    p = sub.add_parser("golden")
    p.add_argument("--game", required=True)
    p.add_argument("--native-runner", required=True)
    p.add_argument("--data", required=True)
    p.add_argument("--script", required=True)
    args = parser.parse_args()
    {"unpack": unpack, "golden": golden}[args.command](args)
    return 0


if __name__ == "__main__":
    sys.exit(main())
