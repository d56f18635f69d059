#!/usr/bin/env python3
"""What the running program costs on a desktop: starts the built program under Xvfb and
prints one table of the processor time and the wake-ups of the program and of the X
server at rest (the pointer resting over the window and off it), the time from a
pointer move after a rest to the button's caption on screen, frame rate and work per
frame while the working-out glides and while the balloon rises, the time from start to
the first frame on screen, and resident memory after start and (with --soak-minutes)
after a random-input soak.

Processor shares come from the processes' own time counters in /proc, not from wall
clock, so other work on a busy machine does not count against the program. Wake-ups are
the voluntary context switches of all the process's threads: each is a time the
process slept and was woken. Work per frame is the main thread's processor time over
the loop's passes, counted by its sleeps; rest is measured in a run without the frame
log, the moving scenes in a second run with it (the BRICKETING_FRAME_LOG variable,
when the program was built with its frame log), which adds the median work of single
frames and how many of them were presented.

With --wine the Windows program runs under Wine instead, measured beside a still Wine
program (notepad) in the same prefix; with --web the page runs in headless Chromium,
its renderer measured beside a blank page's.

Usage: bench/desktop.py [--program build/bricketing] [--display 61] [--soak-minutes 10]
       bench/desktop.py --wine build-windows/bricketing.exe
       bench/desktop.py --web build-web/site
"""

import argparse
import itertools
import json
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


def wakeups(pid):
    """Voluntary context switches so far of each of the process's threads, by thread."""
    counts = {}
    for status in Path(f"/proc/{pid}/task").glob("*/status"):
        try:
            for line in status.read_text().splitlines():
                if line.startswith("voluntary_ctxt_switches"):
                    counts[status.parent.name] = int(line.split()[1])
        except OSError:
            pass  # a thread that ended meanwhile
    return counts


def wakeups_between(first, last):
    """Wake-ups from one count to the next: threads that started meanwhile count from
    zero, and those that ended count up to the first."""
    return sum(count - first.get(thread, 0) for thread, count in last.items())


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
    """Counters of the measured processes at one moment; the first is the program."""

    def __init__(self, pids):
        self.time = time.monotonic()
        self.seconds = {name: process_seconds(pid) for name, pid in pids.items()}
        self.wakeups = {name: wakeups(pid) for name, pid in pids.items()}
        program = next(iter(pids.values()))
        self.main_thread = process_seconds(program, program)


class Interval:
    def __init__(self, first, last, passes):
        self.seconds = last.time - first.time
        self.start, self.end = first.time, last.time
        self.share = {name: 100.0 * (last.seconds[name] - first.seconds[name]) / self.seconds
                      for name in first.seconds}
        self.wakeups = {name: wakeups_between(first.wakeups[name], last.wakeups[name]) /
                        self.seconds for name in first.wakeups}
        self.program_share = next(iter(self.share.values()))
        self.server_share = self.share.get("X server", float("nan"))
        self.passes = passes
        self.passes_per_second = self.passes / self.seconds if passes is not None else None
        main = last.main_thread - first.main_thread
        self.ms_per_pass = 1000.0 * main / self.passes if self.passes else float("nan")

    def cost(self):
        """Processor share and wake-ups a second of each process measured."""
        parts = [f"{name} {self.share[name]:.2f}% / {self.wakeups[name]:.1f}/s"
                 for name in self.share]
        passes = (f", {self.passes_per_second:.1f} passes/s"
                  if self.passes_per_second is not None else "")
        return f"{'; '.join(parts)} over {self.seconds:.0f} s{passes}"


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
        self.x11.XFlush.argtypes = [ctypes.c_void_p]
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_int, ctypes.c_ulong]

    def move(self, x, y):
        """Moves the pointer at once, through the XTest extension."""
        self.xtst.XTestFakeMotionEvent(self.display, -1, x, y, 0)
        self.x11.XFlush(self.display)

    def row(self, x, y, width):
        """The colours of one row of pixels."""
        all_planes, z_pixmap = 0xFFFFFFFF, 2
        image = self.x11.XGetImage(self.display, self.root, x, y, width, 1, all_planes, z_pixmap)
        if not image:
            return None
        values = tuple(self.x11.XGetPixel(image, i, 0) & 0xFFFFFF for i in range(width))
        self.x11.XDestroyImage(image)
        return values

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


def measure(pids, seconds, action=None, count_passes=True):
    """The interval in which action runs, or which lasts the given seconds, for the
    processes named in pids (the program first)."""
    counter = SleepCounter(next(iter(pids.values()))) if count_passes else None
    first = Sample(pids)
    if action:
        action()
    else:
        time.sleep(seconds)
    last = Sample(pids)
    return Interval(first, last, counter.stop() if counter else None)


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


# Where the rest is measured, and the caption timed after it.
LABEL_ROW = (525, 428, 250)  # a row through the hover caption's letters, in the window
NEW_QUESTION = (560, 285)
OFF_SCREEN_PLACE = (1010, 750)  # on the 1024 x 768 screen, beside every window measured


def start_program(command, folder, env, screen, near):
    """Starts the program and waits for its first frame; the client area's top-left
    corner on the screen (found as the first pixel of the working-out's background near
    where the window was asked for) and the milliseconds it took."""
    started = time.monotonic()
    program = subprocess.Popen(command, cwd=folder, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    while True:
        origin = find_origin(screen, near)
        if origin:
            return program, origin, 1000.0 * (time.monotonic() - started)
        if time.monotonic() - started > 60 or program.poll() is not None:
            raise SystemExit("the program showed no first frame within 60 s")
        time.sleep(0.002)


def find_origin(screen, near):
    x0, y0 = near
    probe = screen.row(x0, y0 + FIRST_FRAME_PROBE[1], 60)
    if not probe or BOARD_BACKGROUND not in probe:
        return None
    for y in range(y0, y0 + 60):
        row = screen.row(x0, y, 60)
        if row and BOARD_BACKGROUND in row:
            # The working-out's outline is the client area's first row and column.
            return x0 + row.index(BOARD_BACKGROUND) - 1, y - 1
    return None


def stop(program):
    program.terminate()
    try:
        program.wait(timeout=5)
    except subprocess.TimeoutExpired:
        program.kill()
        program.wait(timeout=5)


CAPTION_TRIALS = itertools.count()


def caption_latency(screen, origin, resting_place, rest_seconds):
    """Rests with the pointer at resting_place, then moves it over New Question and
    times how long until the caption's row on the screen changes; None after 5 s.
    Each trial lands on another pixel of the button: Wine keeps the pointer's last
    place over its window while it is elsewhere, and a jump back to that very pixel
    is no move to it."""
    screen.move(*resting_place)
    time.sleep(rest_seconds)
    row = (origin[0] + LABEL_ROW[0], origin[1] + LABEL_ROW[1], LABEL_ROW[2])
    before = screen.row(*row)
    moved = time.monotonic()
    step = next(CAPTION_TRIALS) % 30
    screen.move(origin[0] + NEW_QUESTION[0] + step, origin[1] + NEW_QUESTION[1] + step)
    while screen.row(*row) == before:
        if time.monotonic() - moved > 5:
            return None
    return 1000.0 * (time.monotonic() - moved)


def rest_rows(screen, pids, origin, args, count_passes=True, name="program"):
    places = (("over the window", (origin[0] + 495, origin[1] + 200)),
              ("off the window", OFF_SCREEN_PLACE))
    rows = []
    for where, place in places:
        screen.move(*place)
        time.sleep(3)
        for repeat in range(args.rest_repeats):
            rest = measure(pids, args.rest_seconds, count_passes=count_passes)
            rows.append((f"{name} at rest, pointer {where} ({repeat + 1})", rest.cost()))
    for where, place in places:
        times = [caption_latency(screen, origin, place, args.caption_rest)
                 for _ in range(args.caption_repeats)]
        rows.append((f"caption after a {args.caption_rest:g} s rest {where}",
                     latencies(times)))
        screen.move(*place)
    return rows


def latencies(times):
    if None in times:
        return f"not within 5 s in {times.count(None)} of {len(times)}"
    return (f"median {statistics.median(times):.0f} ms, longest {max(times):.0f} ms "
            f"of {len(times)}")


def run(args):
    server = start_display(args.display)
    folder = runtime_copy()
    env = dict(os.environ, DISPLAY=f":{args.display}", QT_QPA_PLATFORM="xcb")
    for name in ("WAYLAND_DISPLAY", "XAUTHORITY", "QT_SCALE_FACTOR", "BRICKETING_FRAME_LOG"):
        env.pop(name, None)
    screen = Screen(f":{args.display}")
    try:
        if args.wine:
            return wine_rows(args, screen, server, env, folder)
        if args.web:
            return web_rows(args)
        return qt_rows(args, screen, server, env, folder)
    finally:
        server.terminate()
        server.wait(timeout=10)
        shutil.rmtree(folder, ignore_errors=True)


def qt_rows(args, screen, server, env, folder):
    """Rest in a run without the frame log; the moving scenes in a second run with it."""
    rows = []
    command = [str(Path(args.program).resolve())]
    window = (WINDOW_X, WINDOW_Y)
    program, origin, first_frame_ms = start_program(command, folder, env, screen, window)
    try:
        rows.append(("first frame on screen", f"{first_frame_ms:.0f} ms after start"))
        time.sleep(2)
        rows.append(("resident memory after start", f"{resident_mb(program.pid):.1f} MB"))
        rows += rest_rows(screen, {"program": program.pid, "X server": server.pid}, origin, args)
    finally:
        stop(program)

    log_path = Path(args.frame_log).resolve() if args.frame_log else folder / "frames.log"
    logged_env = dict(env, BRICKETING_FRAME_LOG=str(log_path))
    pupil = Pupil(logged_env)
    program, origin, _ = start_program(command, folder, logged_env, screen, window)
    try:
        found = subprocess.run(["xdotool", "search", "--name", "^Bricketing - Quillmoor$"],
                               env=env, capture_output=True, text=True).stdout.split()
        if found:
            pupil.do("windowfocus", found[0])  # no window manager gives it the keyboard
        time.sleep(2)
        pids = {"program": program.pid, "X server": server.pid}
        # A working-out long enough to glide: one lot at a time.
        pupil.click_at(240, 300)
        pupil.keys(*(["1", "Return"] * 25))
        time.sleep(2)
        shoot(args, env, "working-out")
        rows += moving_rows("glide", glide(pupil, pids), log_path)

        for _ in range(5):
            pupil.click_at(735, 525)  # the mascot: four looks at rest, then it rises
            time.sleep(0.1)
        pupil.move(495, 200)
        time.sleep(0.5)
        shoot(args, env, "balloon")
        rows += moving_rows("balloon rise", measure(pids, 8), log_path)

        if args.soak_minutes > 0:
            rows += soak(pupil, program.pid, args.soak_minutes)
    finally:
        stop(program)
    return rows


def process_named(name, prefix, timeout=60):
    """The process whose command name is name and which runs in the given Wine prefix
    (other Wine programs may be running beside it), once there is one."""
    deadline = time.monotonic() + timeout
    wanted = f"WINEPREFIX={prefix}".encode()
    while time.monotonic() < deadline:
        for comm in Path("/proc").glob("[0-9]*/comm"):
            try:
                if (comm.read_text().strip() == name and
                        wanted in (comm.parent / "environ").read_bytes().split(b"\0")):
                    return int(comm.parent.name)
            except OSError:
                pass
        time.sleep(0.1)
    raise SystemExit(f"no process {name} within {timeout} s")


def wine_rows(args, screen, server, env, folder):
    """The Windows program under Wine, then notepad in the same prefix as a still
    program to compare with."""
    prefix = Path(args.wine_prefix).resolve() if args.wine_prefix else folder / "wine-prefix"
    if not (prefix / "system.reg").exists():
        subprocess.run([str(ROOT / "scripts" / "wine-prefix"), "--unmanaged", str(prefix)],
                       env=env, check=True, stdout=subprocess.DEVNULL)
    wine_env = dict(env, WINEPREFIX=str(prefix), WINEDEBUG="-all",
                    WINEDLLOVERRIDES="mscoree,mshtml=")
    rows = []
    command = ["wine", str(Path(args.wine).resolve())]
    program, origin, first_frame_ms = start_program(command, folder, wine_env, screen,
                                                    (WINDOW_X, WINDOW_Y))
    try:
        rows.append(("first frame on screen", f"{first_frame_ms:.0f} ms after start"))
        time.sleep(3)
        pids = {"program": process_named(Path(args.wine).name[:15], prefix),
                "X server": server.pid, "wineserver": process_named("wineserver64", prefix)}
        rows += rest_rows(screen, pids, origin, args, count_passes=False)
    finally:
        subprocess.run(["wine", "taskkill", "/im", Path(args.wine).name, "/f"], env=wine_env,
                       capture_output=True, check=False, timeout=60)
        stop(program)
    notepad = subprocess.Popen(["wine", "notepad"], cwd=folder, env=wine_env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        pid = process_named("notepad.exe", prefix)
        time.sleep(5)
        pids = {"notepad": pid, "X server": server.pid,
                "wineserver": process_named("wineserver64", prefix)}
        found = subprocess.run(["xdotool", "search", "--name", "Notepad", "getwindowgeometry"],
                               env=env, capture_output=True, text=True).stdout
        over = (300, 300)
        for line in found.splitlines():
            if "Position:" in line:
                x, y = line.split()[1].split(",")
                over = (int(x) + 150, int(y) + 150)
        for where, place in (("over it", over), ("off it", OFF_SCREEN_PLACE)):
            screen.move(*place)
            time.sleep(3)
            rest = measure(pids, args.rest_seconds, count_passes=False)
            rows.append((f"notepad at rest, pointer {where}", rest.cost()))
    finally:
        subprocess.run(["wineserver", "-k"], env=wine_env, check=False, timeout=60)
        stop(notepad)
    return rows


# The page's side of the web measurement: serves the site, opens it (or a blank page)
# in headless Chromium, prints the browser's process id, then moves the pointer and
# times the caption when asked on its input.
WEB_DRIVER = r"""
import { launchBrowser, serve, waitUntil } from "HARNESS";
import { createInterface } from "node:readline";
const [site, what] = process.argv.slice(1);
const server = await serve(site);
const chromium = await launchBrowser();
const page = (await chromium.browser.pages())[0] ?? (await chromium.browser.newPage());
let box = { x: 0, y: 0, scale: 1, right: 800, bottom: 600, width: 1000, height: 720 };
if (what === "page") {
  await page.goto(server.url, { waitUntil: "domcontentloaded" });
  await waitUntil(() => page.evaluate(() => window.bricketingPage?.firstFrameAt ?? null),
    30000, "the first frame");
  box = await page.evaluate(() => {
    const r = document.getElementById("board").getBoundingClientRect();
    return { x: r.left, y: r.top, scale: r.width / 800, right: r.right, bottom: r.bottom,
             width: window.innerWidth, height: window.innerHeight };
  });
} else {
  await page.goto("about:blank");
}
console.log(JSON.stringify({ browser: chromium.browser.process().pid }));
// One row of the canvas's pixels, in picture pixels times its drawing ratio.
const row = ([x, y, width]) => page.evaluate((x, y, width) => {
  const canvas = document.getElementById("board");
  const ratio = canvas.width / 800;
  return Array.from(canvas.getContext("2d").getImageData(
    Math.round(x * ratio), Math.round(y * ratio), Math.round(width * ratio), 1).data).join();
}, x, y, width);
// A place on the page beside the picture: the headless browser reports no pointer
// leaving its viewport, so this is as far off the picture as the pointer can go.
const away = box.right + 5 < box.width ? [box.right + 5, box.y + 10]
  : box.bottom + 5 < box.height ? [box.x + 10, box.bottom + 5] : [-300, -300];
const to = (x, y) => page.mouse.move(box.x + x * box.scale, box.y + y * box.scale);
for await (const line of createInterface({ input: process.stdin })) {
  const [command, a, b] = line.split(" ");
  if (command === "move") {
    await to(Number(a), Number(b));
    console.log("{}");
  } else if (command === "away") {
    await page.mouse.move(away[0], away[1]);
    console.log(JSON.stringify({ away }));
  } else if (command === "caption") {
    const before = await row(LABEL);
    const moved = performance.now();
    await to(NEWX, NEWY);
    let ms = null;
    while (performance.now() - moved < 5000) {
      if ((await row(LABEL)) !== before) {
        ms = performance.now() - moved;
        break;
      }
    }
    console.log(JSON.stringify({ ms }));
  } else {
    break;
  }
}
await chromium.close();
await server.stop();
process.exit(0);
"""


class WebPage:
    def __init__(self, site, what):
        script = (WEB_DRIVER.replace("HARNESS", (ROOT / "tests" / "web" / "harness.mjs").as_uri())
                  .replace("LABEL", str(list(LABEL_ROW)))
                  .replace("NEWX", str(NEW_QUESTION[0])).replace("NEWY", str(NEW_QUESTION[1])))
        self.process = subprocess.Popen(
            ["node", "--input-type=module", "-e", script, str(Path(site).resolve()), what],
            cwd=ROOT / "tests" / "web", stdin=subprocess.PIPE, stdout=subprocess.PIPE,
            text=True)
        self.browser = self.reply()["browser"]

    def reply(self):
        line = self.process.stdout.readline()
        if not line:
            raise SystemExit("the page's driver ended")
        return json.loads(line)

    def ask(self, line):
        self.process.stdin.write(line + "\n")
        self.process.stdin.flush()
        return self.reply()

    def processes(self, kind):
        """The browser's descendants whose command line names the given --type."""
        children = {}
        for stat in Path("/proc").glob("[0-9]*/stat"):
            try:
                parent = int(stat.read_text().rsplit(")", 1)[1].split()[1])
                children.setdefault(parent, []).append(int(stat.parent.name))
            except (OSError, ValueError, IndexError):
                pass
        found, todo = [], [self.browser]
        while todo:
            pid = todo.pop()
            todo += children.get(pid, [])
            try:
                command = Path(f"/proc/{pid}/cmdline").read_bytes().replace(b"\0", b" ")
            except OSError:
                continue
            if f"--type={kind}".encode() in command:
                found.append(pid)
        return found

    def close(self):
        try:
            self.process.stdin.write("quit\n")
            self.process.stdin.flush()
            self.process.wait(timeout=30)
        except (OSError, subprocess.TimeoutExpired):
            self.process.kill()


def web_rows(args):
    rows = []
    for what in ("page", "blank"):
        page = WebPage(args.web, what)
        try:
            time.sleep(3)
            renderers = page.processes("renderer")
            pids = {f"renderer {i + 1}" if i else "renderer": pid
                    for i, pid in enumerate(renderers)}
            pids["browser"] = page.browser
            places = (("over the picture", "move 495 200"), ("beside the picture", "away"))
            for where, command in places:
                page.ask(command)
                time.sleep(2)
                for repeat in range(args.rest_repeats):
                    rest = measure(pids, args.rest_seconds, count_passes=False)
                    rows.append((f"{what} at rest, pointer {where} ({repeat + 1})", rest.cost()))
            if what == "page":
                for where, command in places:
                    times = []
                    for _ in range(args.caption_repeats):
                        page.ask(command)
                        time.sleep(args.caption_rest)
                        times.append(page.ask("caption")["ms"])
                    rows.append((f"caption after a {args.caption_rest:g} s rest {where}",
                                 latencies(times)))
        finally:
            page.close()
    return rows


def shoot(args, env, name):
    """A screenshot for a person to check that the scene is what the row says."""
    if args.shots:
        Path(args.shots).mkdir(parents=True, exist_ok=True)
        subprocess.run(["import", "-window", "root", str(Path(args.shots) / f"{name}.png")],
                       env=env, check=False, timeout=30)


def glide(pupil, pids):
    """Wheel notches down and up again, four a second, for eight seconds: the
    working-out coasts all the while."""
    pupil.move(240, 300)

    def turn_wheel():
        for direction in (5, 4, 5, 4):
            pupil.do("click", "--repeat", 8, "--delay", 250, direction)

    return measure(pids, 0, turn_wheel)


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
    parser.add_argument("--caption-rest", type=float, default=10)
    parser.add_argument("--caption-repeats", type=int, default=3)
    parser.add_argument("--wine", help="a Windows build of the program to run under Wine")
    parser.add_argument("--wine-prefix", help="a Wine prefix to use (made when missing)")
    parser.add_argument("--web", help="the web build's site folder to open in Chromium")
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
