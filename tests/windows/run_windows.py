"""Runs the Windows end-to-end scenarios (all, or those named) on the packages in
dist/: each in a fresh Wine prefix under --work (removed when the scenario passes) on
its own X display. Exit status 0 when all pass, 1 with the failed checks on stderr
otherwise; the screenshots of every stage go to --shots/<scenario>."""

import argparse
import re
import shutil
import sys
import time
import traceback
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parent / "e2e"))  # the Linux suite's driver and looks

from windows_scenarios import SCENARIOS  # noqa: E402
from windows_steps import WindowsScenario  # noqa: E402
from wine import ROOT  # noqa: E402


def project_version():
    text = (ROOT / "CMakeLists.txt").read_text()
    return re.search(r"project\(Bricketing VERSION ([0-9.]+)", text).group(1)


def run(name, args):
    shots = Path(args.shots) / name
    for old in shots.glob("**/*.png"):
        old.unlink()
    started = time.monotonic()
    scenario = None
    try:
        scenario = WindowsScenario(args.dist, project_version(), shots, Path(args.work) / name,
                                   args.display, user=getattr(SCENARIOS[name], "user", None),
                                   screen=getattr(SCENARIOS[name], "screen", None))
        SCENARIOS[name](scenario)
    except Exception as failure:  # every failure is reported the same way
        traceback.print_exc()
        print(f"FAILED {name}: {failure}", file=sys.stderr)
        return False
    finally:
        if scenario:
            scenario.close()
    # A passed run's prefix (some 700 MB) goes; a failed one stays to be looked into.
    shutil.rmtree(Path(args.work) / name, ignore_errors=True)
    print(f"passed {name} in {time.monotonic() - started:.1f} s; shots in {shots}", flush=True)
    return True


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("scenarios", nargs="*",
                        help=f"the scenarios to run: {', '.join(SCENARIOS)} (all by default)")
    parser.add_argument("--dist", default=ROOT / "dist", help="the folder of the packages")
    parser.add_argument("--shots", default=ROOT / "build-windows" / "e2e-shots")
    parser.add_argument("--work", default=ROOT / "build-windows" / "e2e-work",
                        help="the folder for each scenario's Wine prefix and files")
    parser.add_argument("--display", type=int, help="the X display number to use")
    args = parser.parse_args()
    names = args.scenarios or list(SCENARIOS)
    unknown = [name for name in names if name not in SCENARIOS]
    if unknown:
        parser.error(f"no scenario {', '.join(unknown)}")
    results = [run(name, args) for name in names]
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
