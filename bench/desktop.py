#!/usr/bin/env python3
"""What the running program costs on a desktop: starts the built program under Xvfb and
prints one table of the processor time of the program and of the X server at rest,
frame rate and work per frame while the working-out glides and while the balloon rises,
the time from start to the first frame on screen, and resident memory after start and
(with --soak-minutes) after a random-input soak.

Processor shares come from the processes' own time counters in /proc, not from wall
clock, so other work on a busy machine does not count against the program. Work per
frame is the main thread's processor time over the loop's passes, counted by its
sleeps; when the program was built with its frame log and the log is asked for (the
BRICKETING_FRAME_LOG variable, set here), the table adds the median work of single
frames and how many of them were presented.

Usage: bench/desktop.py [--program build/bricketing] [--display 61] [--soak-minutes 10]
"""

import argparse
import ctypes
import os
import random
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
WINDOW_X, WINDOW_Y = 100, 100  # where the program puts its window; no window manager runs
BOARD_BACKGROUND = 0xEEE2B7  # a pixel of the empty working-out, drawn by the first frame
FIRST_FRAME_PROBE = (240, 560)

# Both filled in by hand, so that the working-out grows one line per "1" and Enter.
SETTINGS = (
    "DISPLAY:LOTSOF // LOTSOF or TIMES\n"
    "AUTOPRODUCT:ON // ON or OFF\n"
    "AUTOREMAINDER:ON // ON or OFF\n"
    "DIFFICULTY:INTERMEDIATE // BEGINNER, NOVICE, INTERMEDIATE, ADVANCED, EXPERT")


# Processes.

def process_seconds(pid, task=None):
    """User plus system processor seconds of a process, or of one of its threads."""
    path = f"/proc/{pid}/task/{task}/stat" if task else f"/proc/{pid}/stat"
    fields = Path(path).read_text().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


class SleepCounter:
    """Counts the main thread's sleeps, one per pass of the frame loop, with perf's
    system-call trace points (the thread gives up the processor for other reasons
    too, so its context switches would overcount)."""

    def __init__(self, pid):
        self.process = subprocess.Popen(
            ["perf", "stat", "-x", ",", "-e", "syscalls:sys_enter_clock_nanosleep", "-e",
             "syscalls:sys_enter_nanosleep", "-t", str(pid)],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        time.sleep(0.3)  # perf attaches before the interval starts

    def stop(self):
        self.process.send_signal(signal.SIGINT)
        _, report = self.process.communicate(timeout=10)
        counts = [line.split(",")[0] for line in report.splitlines() if "sleep" in line]
        return sum(int(count) for count in counts if count.isdigit())


def resident_mb(pid):
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith("VmRSS"):
            return int(line.split()[1]) / 1024.0
    return float("nan")


class Sample:
    """Counters of the program and of the X server at one moment."""

    def __init__(self, program, server):
        self.time = time.monotonic()
        self.program = process_seconds(program)
        self.main_thread = process_seconds(program, program)
        self.server = process_seconds(server)


class Interval:
    def __init__(self, first, last, passes):
        self.seconds = last.time - first.time
        self.start, self.end = first.time, last.time
        self.program_share = 100.0 * (last.program - first.program) / self.seconds
        self.server_share = 100.0 * (last.server - first.server) / self.seconds
        self.passes = passes
        self.passes_per_second = self.passes / self.seconds
        main = last.main_thread - first.main_thread
        self.ms_per_pass = 1000.0 * main / self.passes if self.passes else float("nan")


# The screen, read through Xlib directly: polling with a screenshot tool would take
# longer than the time being measured.

class Screen:
    def __init__(self, display_name):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XGetImage.restype = ctypes.c_void_p
        self.x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                       ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                                       ctypes.c_ulong, ctypes.c_int]
        self.x11.XGetPixel.restype = ctypes.c_ulong
        self.x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
        self.x11.XDestroyImage.argtypes = [ctypes.c_void_p]
        self.display = self.x11.XOpenDisplay(display_name.encode())
        if not self.display:
            raise RuntimeError(f"cannot open display {display_name}")
        self.root = self.x11.XDefaultRootWindow(self.display)

    def pixel(self, x, y):
        all_planes, z_pixmap = 0xFFFFFFFF, 2
        image = self.x11.XGetImage(self.display, self.root, x, y, 1, 1, all_planes, z_pixmap)
        if not image:
            return None
        value = self.x11.XGetPixel(image, 0, 0) & 0xFFFFFF
        self.x11.XDestroyImage(image)
        return value


# Input through xdotool.

class Pupil:
    def __init__(self, env):
        self.env = env

    def do(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, check=False,
                       capture_output=True, timeout=30)

    def move(self, x, y):
        self.do("mousemove", WINDOW_X + x, WINDOW_Y + y)

    def click_at(self, x, y, button=1):
        self.do("mousemove", WINDOW_X + x, WINDOW_Y + y, "click", button)

    def keys(self, *names):
        self.do("key", "--delay", 30, *names)


def random_action(pupil, chance):
    """One thing a pupil might do, anywhere but on the buttons that open dialogs, the
    help page or the exit prompt, and the logo (the About dialog)."""
    kind = chance.random()
    if kind < 0.30:
        pupil.move(chance.randrange(0, 800), chance.randrange(0, 600))
    elif kind < 0.55:
        pupil.keys(*chance.choices(["1", "2", "3", "5", "7", "9", "0", "Return", "BackSpace"],
                                   k=chance.randrange(1, 5)))
    elif kind < 0.65:
        pupil.click_at(chance.randrange(5, 475), chance.randrange(5, 570))
    elif kind < 0.75:
        pupil.do("mousemove", WINDOW_X + 240, WINDOW_Y + 300, "click", "--repeat",
                 chance.randrange(1, 4), "--delay", 60, chance.choice([4, 5]))
    elif kind < 0.82:
        x, y = chance.randrange(20, 460), chance.randrange(20, 550)
        pupil.do("mousemove", WINDOW_X + x, WINDOW_Y + y, "mousedown", 1, "mousemove",
                 WINDOW_X + x, WINDOW_Y + chance.randrange(20, 550), "mouseup", 1)
    elif kind < 0.90:
        pupil.click_at(560, 285)  # New Question
    elif kind < 0.95:
        pupil.click_at(715, 285)  # Restart Question
    else:
        pupil.click_at(735, 525)  # the mascot, which sends the balloon up


# The run.

def start_display(number):
    if Path(f"/tmp/.X11-unix/X{number}").exists():
        raise SystemExit(f"display :{number} is in use; pick another with --display")
    server = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1024x768x24", "-br",
                               "-nolisten", "tcp", "-noreset"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + 15
    while not Path(f"/tmp/.X11-unix/X{number}").exists():
        if time.monotonic() > deadline or server.poll() is not None:
            raise SystemExit("Xvfb did not start")
        time.sleep(0.05)
    time.sleep(0.3)
    return server


def runtime_copy():
    folder = Path(tempfile.mkdtemp(prefix="bricketing-bench-"))
    for name in ("Data", "Resources", "Help"):
        shutil.copytree(ROOT / name, folder / name)
    (folder / "Data" / "settings.txt").write_text(SETTINGS)
    return folder


def measure(program, server, seconds, action=None):
    """The interval in which action runs, or which lasts the given seconds."""
    counter = SleepCounter(program)
    first = Sample(program, server)
    if action:
        action()
    else:
        time.sleep(seconds)
    last = Sample(program, server)
    return Interval(first, last, counter.stop())


def read_frame_log(path, interval):
    """From the program's frame log, for the frames that ended in the interval: the
    median processor and wall-clock time of the presented ones in ms, and how many
    were presented a second; None when there is no log or nothing was presented."""
    if not path or not Path(path).exists():
        return None
    processor, wall = [], []
    for line in Path(path).read_text().splitlines():
        parts = line.split()
        if len(parts) != 4 or parts[3] != "1":
            continue
        if interval.start <= int(parts[0]) / 1e9 <= interval.end:
            wall.append(int(parts[1]) / 1000.0)
            processor.append(int(parts[2]) / 1000.0)
    if not processor:
        return None
    return statistics.median(processor), statistics.median(wall), len(processor) / interval.seconds


def run(args):
    server = start_display(args.display)
    folder = runtime_copy()
    log_path = Path(args.frame_log).resolve() if args.frame_log else folder / "frames.log"
    env = dict(os.environ, DISPLAY=f":{args.display}", QT_QPA_PLATFORM="xcb",
               BRICKETING_FRAME_LOG=str(log_path))
    for name in ("WAYLAND_DISPLAY", "XAUTHORITY", "QT_SCALE_FACTOR"):
        env.pop(name, None)
    screen = Screen(f":{args.display}")
    pupil = Pupil(env)
    rows = []
    program = None
    try:
        started = time.monotonic()
        program = subprocess.Popen([str(Path(args.program).resolve())], cwd=folder, env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        probe = (WINDOW_X + FIRST_FRAME_PROBE[0], WINDOW_Y + FIRST_FRAME_PROBE[1])
        while screen.pixel(*probe) != BOARD_BACKGROUND:
            if time.monotonic() - started > 30 or program.poll() is not None:
                raise SystemExit("the program showed no first frame within 30 s")
            time.sleep(0.002)
        first_frame_ms = 1000.0 * (time.monotonic() - started)
        rows.append(("first frame on screen", f"{first_frame_ms:.0f} ms after start"))
        window = subprocess.run(["xdotool", "search", "--name", "^Bricketing - Quillmoor$"],
                                env=env, capture_output=True, text=True).stdout.split()
        if window:
            pupil.do("windowfocus", window[0])  # no window manager gives it the keyboard
        time.sleep(2)
        rows.append(("resident memory after start", f"{resident_mb(program.pid):.1f} MB"))

        pupil.move(495, 200)  # inside the window, over nothing
        time.sleep(3)
        for repeat in range(args.rest_repeats):
            rest = measure(program.pid, server.pid, args.rest_seconds)
            rows.append((f"at rest {repeat + 1}: program / X server",
                         f"{rest.program_share:.2f}% / {rest.server_share:.2f}% of a core "
                         f"over {rest.seconds:.0f} s ({rest.passes_per_second:.1f} passes/s)"))

        # A working-out long enough to glide: one lot at a time.
        pupil.click_at(240, 300)
        pupil.keys(*(["1", "Return"] * 25))
        time.sleep(2)
        shoot(args, env, "working-out")
        rows += moving_rows("glide", glide(pupil, program.pid, server.pid), log_path)

        for _ in range(5):
            pupil.click_at(735, 525)  # the mascot: four looks at rest, then it rises
            time.sleep(0.1)
        pupil.move(495, 200)
        time.sleep(0.5)
        shoot(args, env, "balloon")
        rows += moving_rows("balloon rise", measure(program.pid, server.pid, 8),
                            log_path)

        if args.soak_minutes > 0:
            rows += soak(pupil, program.pid, args.soak_minutes)
    finally:
        if program is not None:
            program.terminate()
            try:
                program.wait(timeout=5)
            except subprocess.TimeoutExpired:
                program.kill()
        server.terminate()
        server.wait(timeout=10)
        shutil.rmtree(folder, ignore_errors=True)
    return rows


def shoot(args, env, name):
    """A screenshot for a person to check that the scene is what the row says."""
    if args.shots:
        Path(args.shots).mkdir(parents=True, exist_ok=True)
        subprocess.run(["import", "-window", "root", str(Path(args.shots) / f"{name}.png")],
                       env=env, check=False, timeout=30)


def glide(pupil, program, server):
    """Wheel notches down and up again, four a second, for eight seconds: the
    working-out coasts all the while."""
    pupil.move(240, 300)

    def turn_wheel():
        for direction in (5, 4, 5, 4):
            pupil.do("click", "--repeat", 8, "--delay", 250, direction)

    return measure(program, server, 0, turn_wheel)


def moving_rows(name, interval, log_path):
    time.sleep(0.6)  # the program writes its log out four times a second
    rows = [(f"{name}: loop passes / work per pass",
             f"{interval.passes_per_second:.1f}/s / {interval.ms_per_pass:.2f} ms "
             f"(program {interval.program_share:.1f}%, X server "
             f"{interval.server_share:.1f}% of a core)")]
    logged = read_frame_log(log_path, interval)
    if logged:
        rows.append((f"{name}: presented frames", f"{logged[2]:.1f}/s, median work "
                     f"{logged[0]:.2f} ms processor ({logged[1]:.2f} ms wall clock)"))
    return rows


def soak(pupil, program, minutes):
    chance = random.Random(12)
    started = time.monotonic()
    after_one = None
    while time.monotonic() - started < minutes * 60:
        random_action(pupil, chance)
        time.sleep(chance.uniform(0.02, 0.15))
        if after_one is None and time.monotonic() - started >= 60:
            after_one = resident_mb(program)
    pupil.move(495, 200)
    time.sleep(2)
    final = resident_mb(program)
    return [("resident memory after 1 min of soak", f"{after_one:.1f} MB"),
            (f"resident memory after {minutes:g} min of soak",
             f"{final:.1f} MB ({final - after_one:+.1f} MB since minute 1)")]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--program", default=str(ROOT / "build" / "bricketing"))
    parser.add_argument("--display", type=int, default=61)
    parser.add_argument("--rest-seconds", type=float, default=30)
    parser.add_argument("--rest-repeats", type=int, default=1)
    parser.add_argument("--soak-minutes", type=float, default=0)
    parser.add_argument("--label", default="")
    parser.add_argument("--shots", help="a folder for screenshots of the scenes measured")
    parser.add_argument("--frame-log", help="where to keep the program's frame log")
    args = parser.parse_args()
    rows = run(args)
    width = max(len(name) for name, _ in rows)
    print(f"== {args.label or args.program} ({os.cpu_count()} cores, load "
          f"{os.getloadavg()[0]:.2f} at the end)")
    for name, value in rows:
        print(f"{name:<{width}}  {value}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
