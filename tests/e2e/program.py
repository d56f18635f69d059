"""One run of the built program on a virtual display, in a private copy of its run-time
folders so that nothing it writes reaches the repository."""

import shutil
import subprocess
import tempfile
from pathlib import Path

from desktop import TimedOut
from display import end_process

TITLE = "Bricketing - Quillmoor"
RUNTIME_FOLDERS = ("Data", "Resources", "Help")

# A known starting point for the settings: "lots of", nothing automatic, Beginner.
PLAIN_SETTINGS = (
    'DISPLAY:LOTSOF // LOTSOF for "lots of" or TIMES for "x"; changes display in working out\n'
    "AUTOPRODUCT:OFF // ON or OFF; if on, calculates products for each multiple automatically\n"
    "AUTOREMAINDER:OFF // ON or OFF; if on, calculates the remainder each time automatically\n"
    "DIFFICULTY:BEGINNER // BEGINNER, NOVICE, INTERMEDIATE, ADVANCED, EXPERT")


def make_runtime_copy(source_root, settings=PLAIN_SETTINGS):
    """A fresh temporary folder holding copies of Data, Resources and Help; returns its
    path. With `settings` given, Data/settings.txt holds exactly that text."""
    folder = Path(tempfile.mkdtemp(prefix="bricketing-e2e-"))
    for name in RUNTIME_FOLDERS:
        source = Path(source_root) / name
        if source.is_dir():
            shutil.copytree(source, folder / name)
        else:
            (folder / name).mkdir()
    if settings is not None:
        (folder / "Data" / "settings.txt").write_bytes(settings.encode("ascii"))
    return folder


class ProgramRun:
    """The program started in `folder` on `desktop`'s display; its output is added to
    the file `log`."""

    def __init__(self, program, folder, desktop, log):
        self.program = str(program)
        self.folder = Path(folder)
        self.desktop = desktop
        self.log = Path(log)
        self.process = None
        self.window = None
        self.origin = None
        self.size = None

    def start(self, timeout=30.0):
        log = open(self.log, "ab")
        try:
            self.process = subprocess.Popen([self.program], cwd=self.folder,
                                            env=self.desktop.env, stdout=log, stderr=log)
        finally:
            log.close()
        try:
            self.window = self.desktop.wait_for_window(TITLE, timeout)
        except TimedOut:
            code = self.process.poll()
            if code is not None:
                raise AssertionError(f"the program ended with {code} before showing its "
                                     f"window; see {self.log}")
            raise
        x, y, width, height = self.desktop.geometry(self.window)
        self.origin = (x, y)
        self.size = (width, height)
        self.desktop.focus(self.window)
        return self

    def running(self):
        return self.process is not None and self.process.poll() is None

    def wait_for_exit(self, timeout=15.0):
        """The exit code once the program has ended by itself."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise TimedOut(f"the program still runs {timeout:g} s after it was asked to end")

    def stop(self):
        """Ends a program that is still running (after a failed check)."""
        if self.running():
            end_process(self.process)
