#!/usr/bin/env python3
"""End-to-end scenarios of the game on volleen-headless.

  e2e.py SCENARIO --runner PATH --data DIR
  e2e.py golden   --runner PATH --data DIR --golden FILE   (VOLLEEN_UPDATE_GOLDEN=1 rewrites it)
  e2e.py find-split-epoch --runner PATH --data DIR
  --wrapper CMD starts the runner through CMD (e2e.py ... --wrapper wine for
  the Windows runner).

Exit status 0 when the scenario holds, 1 with the reason on stderr."""

import argparse
import json
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import comfort_scenarios  # noqa: E402
import golden  # noqa: E402
import pad_scenarios  # noqa: E402
import scenarios  # noqa: E402
from headless_run import Failure, Runner  # noqa: E402

# A calendar start at which the ball of the split scenario splits (found with
# find-split-epoch; the draws depend only on the calendar second).
SPLIT_EPOCH = 1700000000


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("scenario")
    parser.add_argument("--runner", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--golden")
    parser.add_argument("--keep", action="store_true", help="keep the run folders")
    parser.add_argument("--wrapper", default="", help="a command to start the runner through")
    args = parser.parse_args()

    for needed in (args.runner, os.path.join(args.data, "TITLE8.BMP")):
        if not os.path.exists(needed):
            print(f"e2e: {needed} is missing: build the game and its data first", file=sys.stderr)
            return 1

    args.runner, args.data = os.path.abspath(args.runner), os.path.abspath(args.data)
    runner = Runner(args.runner, args.data, keep=args.keep, wrapper=args.wrapper.split())
    try:
        if args.scenario == "find-split-epoch":
            print(scenarios.find_split_epoch(runner))
            return 0
        if args.scenario == "golden":
            golden.check(runner, args.golden)
        elif args.scenario == "split":
            scenarios.split(runner, args.data, SPLIT_EPOCH)
        elif args.scenario in scenarios.SCENARIOS:
            scenarios.SCENARIOS[args.scenario](runner, args.data)
        elif args.scenario in comfort_scenarios.SCENARIOS:
            comfort_scenarios.SCENARIOS[args.scenario](runner, args.data)
        elif args.scenario in pad_scenarios.SCENARIOS:
            pad_scenarios.SCENARIOS[args.scenario](runner, args.data)
        else:
            print(f"e2e: no scenario {args.scenario}", file=sys.stderr)
            return 2
    except Failure as failure:
        print(f"e2e {args.scenario}: FAILED: {failure}", file=sys.stderr)
        if runner.folders:
            print(f"e2e: run folders: {' '.join(runner.folders)} (kept)", file=sys.stderr)
            runner.keep = True
        return 1
    finally:
        runner.cleanup()
    print(f"e2e {args.scenario}: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
