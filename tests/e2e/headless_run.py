"""Running volleen-headless in a fresh copy of the data folder, and reading
its trace."""

import json
import os
import shutil
import subprocess
import tempfile
import zlib


class Failure(Exception):
    """A scenario's expectation that did not hold."""


def expect(condition, message):
    if not condition:
        raise Failure(message)


def expect_eq(actual, wanted, what):
    if actual != wanted:
        raise Failure(f"{what}: got {actual!r}, wanted {wanted!r}")


class Run:
    """One finished run: exit status, trace events, the folder it ran in."""

    def __init__(self, status, events, folder, stderr):
        self.status = status
        self.events = events
        self.folder = folder
        self.stderr = stderr

    # --- selections -------------------------------------------------------
    def of(self, kind):
        return [e for e in self.events if e.get("ev") == kind]

    def frames(self):
        return self.of("frame")

    def texts(self, x=None, y=None, text=None, surface=None):
        found = []
        for e in self.of("text"):
            if x is not None and e["x"] != x:
                continue
            if y is not None and e["y"] != y:
                continue
            if text is not None and e["text"] != text:
                continue
            if surface is not None and e["surface"] != surface:
                continue
            found.append(e)
        return found

    def sounds(self, op=None, file=None):
        return [e for e in self.of("sound")
                if (op is None or e["op"] == op) and (file is None or e["file"] == file)]

    def sleeps(self):
        return [e["ms"] for e in self.of("sleep")]

    def file(self, name):
        path = os.path.join(self.folder, name)
        if not os.path.exists(path):
            return None
        with open(path, "rb") as f:
            return f.read()


def palette_crc_of_bitmap(path):
    """The crc32 of the palette the game makes from an 8-bit bitmap file's
    colour table: red, green, blue, flags 4."""
    with open(path, "rb") as f:
        data = f.read()
    table = data[54:54 + 1024]
    entries = bytearray()
    for i in range(256):
        b, g, r = table[4 * i], table[4 * i + 1], table[4 * i + 2]
        entries += bytes([r, g, b, 4])
    return zlib.crc32(bytes(entries))


def crc_of(event):
    value = event["crc32"]
    if isinstance(value, str):
        return int(value, 16)
    return value


class Runner:
    def __init__(self, runner, data, keep=False, wrapper=()):
        self.runner = runner
        self.data = data
        self.keep = keep
        # What the runner is started through (wine for the Windows runner).
        self.wrapper = list(wrapper)
        self.folders = []

    def fresh_folder(self):
        folder = tempfile.mkdtemp(prefix="volleen-e2e-")
        for name in os.listdir(self.data):
            source = os.path.join(self.data, name)
            if os.path.isfile(source) and name != "keys.dat" and not name.startswith("."):
                shutil.copy(source, folder)
        self.folders.append(folder)
        return folder

    def run(self, script, until=None, epoch=None, extra=(), folder=None, prefix=(),
            timeout=600):
        """Runs the game with `script` (text) in a fresh data folder (or in
        `folder`, to go on from an earlier run's keys.dat)."""
        folder = folder or self.fresh_folder()
        script_path = os.path.join(folder, "e2e-script.txt")
        trace_path = os.path.join(folder, "e2e-trace.jsonl")
        # The runner wants its lines in time order; scenarios write them by
        # what the player does.
        lines = [line for line in script.splitlines() if line.strip()]
        lines.sort(key=lambda line: int(line.split()[0]))
        with open(script_path, "w") as f:
            f.write("\n".join(lines) + "\n")
        command = self.wrapper + list(prefix) + [self.runner, "--script", script_path, "--trace",
                                                 trace_path]
        if until is not None:
            command += ["--until", str(until)]
        if epoch is not None:
            command += ["--epoch", str(epoch)]
        command += list(extra)
        done = subprocess.run(command, cwd=folder, capture_output=True, text=True,
                              timeout=timeout)
        events = []
        if os.path.exists(trace_path):
            with open(trace_path) as f:
                for number, line in enumerate(f, 1):
                    line = line.strip()
                    if not line:
                        continue
                    try:
                        events.append(json.loads(line))
                    except json.JSONDecodeError as error:
                        raise Failure(f"trace line {number} is not JSON ({error}): {line}")
        os.remove(script_path)
        return Run(done.returncode, events, folder, done.stderr)

    def cleanup(self):
        if self.keep:
            return
        for folder in self.folders:
            shutil.rmtree(folder, ignore_errors=True)
