"""A short demonstration of the program for a machine without a screen: on a virtual
display it creates 345 ÷ 7 through the Create Question dialog, works it out step by
step (with one wrong entry, corrected), and ends the program through Escape and Yes.
Every stage is saved as a numbered screenshot (001-start.png, 002-...) in a folder
named on the first line of output. Exit status 0 when the program did all that."""

import argparse
import sys
import time
from pathlib import Path

from steps import Scenario, create_question, quit_with_yes, wait_for_question, work_345_by_7


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--program", required=True, help="the built program")
    parser.add_argument("--source", required=True,
                        help="the folder holding Data, Resources and Help")
    parser.add_argument("--shots", help="folder for the screenshots "
                        "(default: a new /tmp/bricketing-demo-<time>/)")
    args = parser.parse_args()

    shots = Path(args.shots or f"/tmp/bricketing-demo-{time.strftime('%Y%m%d-%H%M%S')}")
    print(f"Screenshots: {shots}/", flush=True)
    scenario = Scenario(args.program, args.source, shots)
    try:
        lesson = scenario.launch()
        wait_for_question(lesson)
        create_question(lesson, 345, 7)
        work_345_by_7(lesson)
        lesson.look("answered")
        quit_with_yes(lesson)
    except Exception as failure:  # report any failure in one line, as a pupil's note
        print(f"The demonstration stopped: {failure}", file=sys.stderr)
        return 1
    finally:
        scenario.close()
    count = len(list(shots.glob("*.png")))
    print(f"Done: {count} screenshots; the program ended with exit code 0.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
