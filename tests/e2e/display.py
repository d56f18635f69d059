"""A private virtual X display for one run of the program: Xvfb on a display number
it picks itself, so that several runs can share a machine without colliding."""

import os
import select
import shutil
import subprocess
import tempfile
import time

SCREEN_WIDTH = 1024
SCREEN_HEIGHT = 768



def end_process(process):
    """Asks a running process to end, and kills it if it has not within 5 seconds."""
    process.terminate()
    try:
        process.wait(timeout=5)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()

class DisplayError(RuntimeError):
    pass


class VirtualDisplay:
    """Starts Xvfb on entry and stops it on exit. `env` is an environment in which X
    clients (the program, xdotool, import) reach this display and nothing else."""

    def __init__(self, start_timeout=15.0, size=(SCREEN_WIDTH, SCREEN_HEIGHT)):
        self.start_timeout = start_timeout
        self.size = size
        self.process = None
        self.name = None
        self.env = None
        self.config_home = None

    def __enter__(self):
        read_end, write_end = os.pipe()
        try:
            # BRICKETING_E2E_DISPLAY (say ":65") asks for one display number; otherwise
            # Xvfb takes the first free one.
            chosen = [os.environ["BRICKETING_E2E_DISPLAY"]] \
                if os.environ.get("BRICKETING_E2E_DISPLAY") else []
            self.process = subprocess.Popen(
                ["Xvfb", *chosen, "-displayfd", str(write_end), "-screen", "0",
                 f"{self.size[0]}x{self.size[1]}x24", "-nolisten", "tcp", "-noreset"],
                pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            os.close(write_end)
            write_end = None
            self.name = ":" + self._read_display_number(read_end)
        except BaseException:
            self._stop()
            raise
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)
        self.env = self._client_environment()
        return self

    def __exit__(self, *exc):
        self._stop()
        return False

    def _read_display_number(self, read_end):
        # Xvfb writes the number it chose, then a line end, once it accepts clients.
        deadline = time.monotonic() + self.start_timeout
        text = b""
        while not text.endswith(b"\n"):
            left = deadline - time.monotonic()
            if left <= 0 or self.process.poll() is not None:
                raise DisplayError("Xvfb did not start")
            ready, _, _ = select.select([read_end], [], [], min(left, 0.1))
            if ready:
                chunk = os.read(read_end, 64)
                if not chunk:
                    raise DisplayError("Xvfb closed its display pipe without a number")
                text += chunk
        return text.decode().strip()

    def _client_environment(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.name
        env.pop("WAYLAND_DISPLAY", None)
        env.pop("XAUTHORITY", None)
        # The program must use this X display, whatever the caller's Qt settings say.
        env["QT_QPA_PLATFORM"] = "xcb"
        env.pop("QT_SCALE_FACTOR", None)
        env.pop("QT_SCREEN_SCALE_FACTORS", None)
        env["QT_AUTO_SCREEN_SCALE_FACTOR"] = "0"
        # A per-user settings file of whoever runs the tests must neither change what
        # the program starts with nor receive what a test saves.
        self.config_home = tempfile.mkdtemp(prefix="bricketing-e2e-config-")
        env["XDG_CONFIG_HOME"] = self.config_home
        # The program speaks the desktop's language: the scenarios expect British
        # English unless they choose another.
        for name in ("LC_ALL", "LC_MESSAGES"):
            env.pop(name, None)
        env["LANGUAGE"] = "en_GB"
        env["LANG"] = "en_GB.UTF-8"
        return env

    def _stop(self):
        if self.config_home:
            shutil.rmtree(self.config_home, ignore_errors=True)
            self.config_home = None
        if self.process and self.process.poll() is None:
            end_process(self.process)
