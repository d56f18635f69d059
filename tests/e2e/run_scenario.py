"""Runs one end-to-end scenario by name: exit status 0 when it passes, 1 with the
failed check on stderr when it fails. Screenshots of every stage go to --shots."""

import argparse
import sys
import time
import traceback
from pathlib import Path

from scenarios import SCENARIOS
from steps import Scenario


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    parser.add_argument("--program", required=True, help="the built program")
    parser.add_argument("--source", required=True,
                        help="the folder holding Data, Resources and Help")
    parser.add_argument("--shots", required=True, help="folder for the screenshots")
    args = parser.parse_args()

    shots = Path(args.shots)
    for pattern in ("**/*.png", "**/program.log"):
        for old in shots.glob(pattern):
            old.unlink()
    started = time.monotonic()
    scenario = Scenario(args.program, args.source, shots)
    try:
        SCENARIOS[args.scenario](scenario)
    except Exception as failure:  # every failure is reported the same way
        traceback.print_exc()
        print(f"FAILED {args.scenario}: {failure}", file=sys.stderr)
        return 1
    finally:
        scenario.close()
    print(f"passed {args.scenario} in {time.monotonic() - started:.1f} s; shots in {shots}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
