"""The golden trace of a whole scripted two-player match: any change to the
rules of play shows up as a difference in some frame."""

import json
import os

import scenarios
from headless_run import Failure, expect

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "golden", "two_player_match.script")
KINDS = ("frame", "sound", "sleep", "exit")


def canonical(run):
    lines = []
    for e in run.events:
        if e.get("ev") in KINDS:
            lines.append(json.dumps(e, sort_keys=True, separators=(",", ":")))
    return lines


def check(runner, golden_path):
    with open(SCRIPT) as f:
        script = f.read()
    run = runner.run(script, until=300000)
    expect(run.status == 0, f"exit status {run.status} (stderr: {run.stderr.strip()})")
    # The rules' own checks first, so a regenerated golden is a sane match:
    # a whole match to 10, both sides scoring, serves from both sides.
    frames = scenarios.match_frames(run)
    points = scenarios.check_points_and_serves(run, frames)
    expect({s for s, _ in points} == {1, 2}, "both sides score in the golden match")
    expect(max(max(f["Player1Score"], f["Player2Score"]) for f in frames) == 10, "the match ends at 10")
    expect(any(f["BallsInPlay"] == 2 for f in frames), "the golden match has a split")
    scenarios.check_serves(frames)
    got = canonical(run)
    if os.environ.get("VOLLEEN_UPDATE_GOLDEN") == "1":
        with open(golden_path, "w") as f:
            f.write("\n".join(got) + "\n")
        print(f"golden: wrote {len(got)} lines to {golden_path}")
        return
    if not os.path.exists(golden_path):
        raise Failure(f"no golden trace at {golden_path}; run with VOLLEEN_UPDATE_GOLDEN=1 to make it")
    with open(golden_path) as f:
        wanted = [line.rstrip("\n") for line in f if line.strip()]
    for number, (a, b) in enumerate(zip(got, wanted), 1):
        if a != b:
            raise Failure(f"golden line {number} differs:\n  golden: {b}\n  now:    {a}\n"
                          "(if the change to the rules is meant, rerun with VOLLEEN_UPDATE_GOLDEN=1 "
                          "and review the new trace)")
    if len(got) != len(wanted):
        shorter = "the run" if len(got) < len(wanted) else "the golden trace"
        line = min(len(got), len(wanted)) + 1
        extra = (wanted if len(got) < len(wanted) else got)[line - 1]
        raise Failure(f"{shorter} ends at line {line - 1}; the other goes on with: {extra}")
